#pragma once

// Where the sign-in keeps the database server's password between runs: the
// desktop's keyring when there is one, else a file that only this account may
// read. Never in the settings file, and never under a key the program carries.

#include <QString>

namespace chemodesk {

class SecretStore {
public:
    // `folder` holds the fallback file (the sign-in settings file's folder).
    explicit SecretStore(QString folder);

    // `account` names the server login, e.g. "ward3@db.hospital:5432/chemodesk".
    QString read(const QString &account) const;
    // An empty password forgets the account's.
    void write(const QString &account, const QString &password) const;

    // The owner-only file used when no keyring answers.
    QString fallbackPath() const;

private:
    QString folder_;
};

} // namespace chemodesk
