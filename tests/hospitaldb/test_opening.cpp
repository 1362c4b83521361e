// Opening the embedded file as a workstation does: a path that is not there,
// a damaged file and a read-only one are each told plainly, and none of them
// is written to; only a new default file gets the demo data, marked as such.

#include "hospitaldb/database.h"

#include "support/testdatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace chemodesk;

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// A copy of a fresh demo database in `dir`, whole in its one file.
QString demoCopy(const QTemporaryDir &dir)
{
    test::freshDatabase("sqlite").reset(); // the last connection closes the log into the file
    const QString path = dir.filePath(QStringLiteral("hospital.db"));
    EXPECT_TRUE(QFile::copy(test::lastTarget(), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

QString messageOf(const std::function<void()> &open)
{
    try {
        open();
    } catch (const DatabaseError &e) {
        return e.message();
    }
    return {};
}

TEST(OpeningTheFile, AMissingPathIsAnErrorNamingItAndNothingIsMade)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("share/chemodesk.db"));
    for (const auto &open : std::vector<std::function<void()>>{
             [&] { hospital::openEmbedded(path); },
             [&] { hospital::openExisting(path); },
         }) {
        const QString message = messageOf(open);
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String("does not exist"))) << message.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("share"))));
}

TEST(OpeningTheFile, OnlyTheNewDefaultFileHoldsTheDemoDataAndIsMarked)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("first/chemodesk.db"));
    auto created = hospital::openEmbedded(path, hospital::MissingFile::CreateWithDemo);
    EXPECT_TRUE(hospital::isDemoDatabase(*created));
    EXPECT_GT(created->Execute(QStringLiteral("SELECT count(*) FROM PATIENT_DATA..tbMaster"))
                  .Fields(0)
                  .toDouble(),
              0);
    created.reset();
    // Known again on the next start.
    EXPECT_TRUE(hospital::isDemoDatabase(*hospital::openEmbedded(path)));

    auto empty = test::freshDatabase("sqlite", false);
    EXPECT_FALSE(hospital::isDemoDatabase(*empty));
}

TEST(OpeningTheFile, ADamagedFileIsRefusedBeforeAnythingIsWritten)
{
    QTemporaryDir dir;
    const QString path = demoCopy(dir);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        // Pages of the tables, past the file's header and schema page.
        ASSERT_GT(file.size(), 64 * 4096);
        file.seek(8 * 4096);
        file.write(QByteArray(48 * 4096, '\x5a'));
    }
    const QByteArray before = digest(path);
    for (const auto &open : std::vector<std::function<void()>>{
             [&] { hospital::openEmbedded(path); },
             [&] { hospital::openExisting(path); },
         }) {
        const QString message = messageOf(open);
        EXPECT_TRUE(message.contains(QLatin1String("damaged"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String("backup"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QLatin1String("contact IT"))) << message.toStdString();
    }
    EXPECT_EQ(digest(path), before);
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("-wal")) &&
                 QFileInfo(path + QStringLiteral("-wal")).size() > 0);
}

// A large file is checked at opening only as far as its header and schema;
// damage the engine meets later stops every further write on the spot.
TEST(OpeningTheFile, DamageFoundInUseStopsEveryWrite)
{
    QTemporaryDir dir;
    const QString path = demoCopy(dir);
    // The leaf pages of the patients' table alone: the opening reads none.
    QList<qint64> pages;
    {
        auto c = hospital::openExisting(path);
        for (Recordset rs = c->executeNative(
                 QStringLiteral("SELECT pageno FROM dbstat WHERE name = 'patient_data__tbmaster' "
                                "AND pagetype = 'leaf'"));
             !rs.atEnd(); rs.MoveNext())
            pages << static_cast<qint64>(rs.Fields(0).toDouble());
        c->executeNative(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    ASSERT_FALSE(pages.isEmpty());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        for (qint64 page : pages) {
            file.seek((page - 1) * 4096);
            file.write(QByteArray(4096, '\x5a'));
        }
    }
    db::OpenOptions options;
    options.wholeCheckUpTo = 0;
    auto c = hospital::openExisting(path, options);
    QString found;
    for (Recordset tables = c->executeNative(
             QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
         !tables.atEnd() && found.isEmpty(); tables.MoveNext())
        found = messageOf([&] {
            c->executeNative(QStringLiteral("SELECT * FROM ") + tables.Fields(0).toString());
        });
    ASSERT_TRUE(found.contains(QLatin1String("damaged"))) << found.toStdString();
    const QString refused = messageOf([&] {
        c->Execute(QStringLiteral("UPDATE PATIENT_DATA..tbHospitalInfo SET HospitalName = 'X'"));
    });
    EXPECT_TRUE(refused.contains(QLatin1String("damaged"))) << refused.toStdString();
    EXPECT_TRUE(refused.contains(QLatin1String("backup"))) << refused.toStdString();
}

TEST(OpeningTheFile, AReadOnlyFileIsReadAndASaveIsRefusedClearly)
{
    QTemporaryDir dir;
    const QString path = demoCopy(dir);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = digest(path);

    auto connection = hospital::openEmbedded(path);
    EXPECT_TRUE(connection->readOnly());
    EXPECT_GT(connection->Execute(QStringLiteral("SELECT count(*) FROM PATIENT_DATA..tbMaster"))
                  .Fields(0)
                  .toDouble(),
              0);
    // Procedures that only read run in a transaction of their own.
    EXPECT_NO_THROW(
        connection->Execute(QStringLiteral("CLINICAL_AREA..spCancer_GetPatient 'I','','',''")));
    const QString message = messageOf(
        [&] { connection->Execute(QStringLiteral("Clinical_Area..spCancer_DrawChargeSlip")); });
    EXPECT_TRUE(message.contains(QLatin1String("read-only"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1String("nothing was saved"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
    EXPECT_EQ(connection->TransactionDepth(), 0);
    connection.reset();
    EXPECT_EQ(digest(path), before);
}

} // namespace
