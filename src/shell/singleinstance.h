#pragma once

// Keeps a second copy of the program from running for the same user on this
// workstation: the first copy holds a lock file until it ends. A copy that
// crashed leaves a lock that the next start recognises as stale.

#include <QLockFile>
#include <QString>

#include <memory>

namespace chemodesk::shell {

class SingleInstance {
public:
    // `lockPath` empty means the user's runtime folder (else the temp folder).
    explicit SingleInstance(const QString &lockPath = {});
    ~SingleInstance();

    // True when this copy holds the lock (or already did).
    bool acquire();
    QString lockPath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};

} // namespace chemodesk::shell
