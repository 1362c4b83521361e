#include "singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace chemodesk::shell {

namespace {

QString defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/chemodesk.lock");
}

} // namespace

SingleInstance::SingleInstance(const QString &lockPath)
    : path_(lockPath.isEmpty() ? defaultLockPath() : lockPath)
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    if (held_)
        return true;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    lock_ = std::make_unique<QLockFile>(path_);
    // Only a copy that is no longer running leaves a stale lock: a copy that
    // has been open all day keeps its lock however old the file is.
    lock_->setStaleLockTime(0);
    held_ = lock_->tryLock(0);
    if (!held_)
        lock_.reset();
    return held_;
}

} // namespace chemodesk::shell
