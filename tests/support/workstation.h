#pragma once

// A workstation's view of a test database on the shared server: connected
// with a login of the workstation role (not the superuser the tests build
// with), and bound to an employee the way the sign-in binds it.

#include "database/sqltext.h"
#include "hospitaldb/database.h"
#include "session/scrambler.h"
#include "support/testdatabase.h"

#include <QUrl>

#include <memory>

namespace chemodesk::test {

inline constexpr const char *WorkstationLogin = "chemodesk_test_ws";

// The login, made once per server; `admin` is a superuser's connection.
inline void ensureWorkstationLogin(db::HostedConnection &admin)
{
    admin.executeNative(
        QStringLiteral("DO $$BEGIN CREATE ROLE %1 LOGIN IN ROLE chemodesk_workstation; "
                       "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END$$")
            .arg(QLatin1String(WorkstationLogin)));
}

// `target` (a test database's URL) with the workstation's login.
inline QString asWorkstation(const QString &target)
{
    QUrl url(target);
    url.setUserName(QLatin1String(WorkstationLogin));
    return url.toString();
}

// Signs `employee` in on the server session of `connection`; the rows the
// server answers with (none when refused).
inline Recordset bindEmployee(db::HostedConnection &connection, const QString &employee,
                              const QString &accessCode)
{
    const QString scrambled =
        session::Scramble(QStringLiteral("E"), QLatin1String(session::AccessCodeKey), accessCode)
            .trimmed();
    return connection.executeNative(
        QStringLiteral("SELECT * FROM public.chemodesk_sign_in(%1, %2, 'TEST-WS')")
            .arg(sql::quote(employee), sql::quote(scrambled)));
}

// A workstation's connection to the last fresh database, signed in as `employee` when given.
inline std::unique_ptr<db::HostedConnection> workstation(db::HostedConnection &admin,
                                                         const QString &employee = {},
                                                         const QString &accessCode = {})
{
    ensureWorkstationLogin(admin);
    auto connection = hospital::openDatabase(asWorkstation(lastTarget()));
    connection->setDefaultDatabase(QStringLiteral("CLINICAL_AREA"));
    if (!employee.isEmpty())
        bindEmployee(*connection, employee, accessCode);
    return connection;
}

} // namespace chemodesk::test
