#include "secretstore.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSaveFile>
#include <QSettings>

#ifdef CHEMODESK_HAVE_KEYCHAIN
#include <qt6keychain/keychain.h>
#endif

namespace chemodesk {

namespace {

const QString Service = QStringLiteral("ChemoDesk database server");

// Tests and machines without a desktop session set this to keep to the file.
bool keyringWanted()
{
    return qEnvironmentVariableIsEmpty("CHEMODESK_NO_KEYRING") &&
           !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS");
}

#ifdef CHEMODESK_HAVE_KEYCHAIN
// Runs a keyring job to its end; false when no keyring answered.
bool finish(QKeychain::Job &job)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError || job.error() == QKeychain::EntryNotFound;
}
#endif

constexpr auto OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

} // namespace

SecretStore::SecretStore(QString folder) : folder_(std::move(folder)) {}

QString SecretStore::fallbackPath() const
{
    return folder_ + QStringLiteral("/server-passwords");
}

QString SecretStore::read(const QString &account) const
{
#ifdef CHEMODESK_HAVE_KEYCHAIN
    if (keyringWanted()) {
        QKeychain::ReadPasswordJob job(Service);
        job.setKey(account);
        job.setInsecureFallback(false);
        if (finish(job) && job.error() == QKeychain::NoError)
            return job.textData();
    }
#endif
    QFile file(fallbackPath());
    // A file others could read is not trusted to hold a password, nor used.
    if (!file.exists() || (file.permissions() & ~(OwnerOnly | QFile::ReadUser | QFile::WriteUser)))
        return {};
    QSettings stored(fallbackPath(), QSettings::IniFormat);
    return stored
        .value(QStringLiteral("passwords/") + QString::fromLatin1(account.toUtf8().toHex()))
        .toString();
}

void SecretStore::write(const QString &account, const QString &password) const
{
#ifdef CHEMODESK_HAVE_KEYCHAIN
    if (keyringWanted()) {
        bool stored = false;
        if (password.isEmpty()) {
            QKeychain::DeletePasswordJob job(Service);
            job.setKey(account);
            job.setInsecureFallback(false);
            stored = finish(job);
        } else {
            QKeychain::WritePasswordJob job(Service);
            job.setKey(account);
            job.setInsecureFallback(false);
            job.setTextData(password);
            stored = finish(job);
        }
        if (stored)
            return;
    }
#endif
    QDir().mkpath(folder_);
    const QString path = fallbackPath();
    // Made private before anything is written into it.
    if (!QFile::exists(path)) {
        QFile create(path);
        if (create.open(QIODevice::WriteOnly))
            create.close();
    }
    QFile::setPermissions(path, OwnerOnly);
    QSettings stored(path, QSettings::IniFormat);
    const QString key =
        QStringLiteral("passwords/") + QString::fromLatin1(account.toUtf8().toHex());
    if (password.isEmpty())
        stored.remove(key);
    else
        stored.setValue(key, password);
    stored.sync();
    QFile::setPermissions(path, OwnerOnly);
}

} // namespace chemodesk
