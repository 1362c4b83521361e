#include "currentuser.h"

#include "database/hostedconnection.h"
#include "database/sqltext.h"
#include "hospitaldb/database.h"
#include "session/scrambler.h"
#include "signindialog.h"
#include "widgets/messages.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

namespace chemodesk {

namespace {

const QString Title = QStringLiteral("Sign In");

QString defaultSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/signin.ini");
}

QString joinName(const Recordset &rs)
{
    const QString last = rs.Fields(QStringLiteral("LastName")).trimmed();
    const QString given =
        QString(rs.Fields(QStringLiteral("FirstName")).trimmed() + QLatin1Char(' ') +
                rs.Fields(QStringLiteral("MiddleName")).trimmed())
            .trimmed();
    return given.isEmpty() ? last : last + QStringLiteral(", ") + given;
}

// Only this workstation's default file is made, with the demo data, on the
// first run; any other path not there is a share not connected or a typing
// slip, never a new hospital.
hospital::MissingFile missingFileRule(const QString &file)
{
    const QFileInfo chosen(file);
    const QFileInfo standard(hospital::defaultDatabasePath());
    return chosen.absoluteFilePath() == standard.absoluteFilePath()
               ? hospital::MissingFile::CreateWithDemo
               : hospital::MissingFile::Refuse;
}

} // namespace

CurrentUser::CurrentUser(QString settingsPath)
    : settingsPath_(settingsPath.isEmpty() ? defaultSettingsPath() : std::move(settingsPath))
{
}

CurrentUser::~CurrentUser() = default;

Connection *CurrentUser::SQLConnection() const
{
    return connected_ ? connection_.get() : nullptr;
}

void CurrentUser::signOut()
{
    connected_ = false;
    employeeCode_.clear();
    employeeName_.clear();
    serverName_.clear();
    database_.clear();
    userId_.clear();
    serverPassword_.clear();
}

void CurrentUser::ShowMain()
{
    signOut();
    QSettings settings(settingsPath_, QSettings::IniFormat);
    DatabaseChoice choice = DatabaseChoice::read(settings);

    const QString scriptedEmployee = settings.value(QStringLiteral("signin/employee")).toString();
    if (!scriptedEmployee.isEmpty()) {
        if (const QString problem = choice.problem(); !problem.isEmpty()) {
            widgets::msgInformation(problem, Title);
            return;
        }
        // The access code of a scripted sign-in is handed over by its environment, never kept
        // in a file.
        if (trySignIn(choice, scriptedEmployee, qEnvironmentVariable("CHEMODESK_ACCESS_CODE")) !=
            Outcome::SignedIn)
            connection_.reset();
        return;
    }

    SignInDialog dialog(parent_);
    dialog.setChoice(choice);
    while (widgets::execModal(dialog) == QDialog::Accepted) {
        choice = dialog.choice();
        const QString employee = dialog.txtEmployeeID->text().trimmed();
        const QString problem = employee.isEmpty()
                                    ? QStringLiteral("Please enter your employee id.")
                                    : choice.problem();
        if (!problem.isEmpty()) {
            widgets::msgInformation(problem, Title);
            continue;
        }
        const Outcome outcome = trySignIn(choice, employee, dialog.txtAccessCode->text());
        if (outcome == Outcome::SignedIn) {
            choice.write(settings);
            return;
        }
        if (outcome == Outcome::Refused) {
            dialog.txtAccessCode->clear();
            dialog.txtAccessCode->setFocus();
        }
    }
    connection_.reset();
    openedTarget_.clear();
}

CurrentUser::Outcome CurrentUser::trySignIn(const DatabaseChoice &choice, const QString &employee,
                                            const QString &accessCode)
{
    const QString target = choice.target();
    try {
        if (!connection_ || openedTarget_ != target) {
            connection_.reset();
            openedTarget_.clear();
            connection_ = choice.kind == DatabaseChoice::Embedded
                              ? hospital::openEmbedded(target, missingFileRule(target))
                              : hospital::openDatabase(target);
            openedTarget_ = target;
        }
        const QString scrambled =
            session::Scramble(QStringLiteral("E"), QLatin1String(session::AccessCodeKey),
                              accessCode.trimmed())
                .trimmed();
        const bool server = connection_->dialect() == db::Dialect::PostgreSQL;
        // On the shared server the server compares the code itself and binds this session to
        // the employee; the workstation's login cannot read the codes.
        const Recordset rs =
            server ? connection_->executeNative(
                         QStringLiteral("SELECT * FROM public.chemodesk_sign_in(%1, %2, %3)")
                             .arg(sql::quote(employee.trimmed()), sql::quote(scrambled),
                                  sql::quote(QSysInfo::machineHostName())))
                   : connection_->Execute(
                         QStringLiteral("SELECT EmployeeID, LastName, FirstName, MiddleName FROM "
                                        "PASSWORD..tbPasswordMaster WHERE EmployeeID = ") +
                         sql::quote(employee.trimmed()) + QStringLiteral(" AND AccessCode = ") +
                         sql::quote(scrambled) + QStringLiteral(" AND isActive = 1"));
        if (rs.atEnd()) {
            widgets::msgExclamation(QStringLiteral("Invalid employee id or access code."), Title);
            return Outcome::Refused;
        }
        employeeCode_ = rs.Fields(QStringLiteral("EmployeeID")).trimmed();
        employeeName_ = joinName(rs);
        if (server) {
            // Held in memory only: a connection made again takes the binding over with it.
            const QString token = rs.Fields(QStringLiteral("Resume")).toString();
            connection_->setReconnected([token](db::HostedConnection &c) {
                c.executeNative(
                    QStringLiteral("SELECT public.chemodesk_resume(%1)").arg(sql::quote(token)));
            });
        }
    } catch (const DatabaseError &e) {
        connection_.reset();
        openedTarget_.clear();
        widgets::msgCritical(e.message(), Title);
        return Outcome::Failed;
    }
    if (choice.kind == DatabaseChoice::Embedded) {
        serverName_ = QStringLiteral("(local)");
        database_ = choice.file;
    } else {
        serverName_ = choice.host;
        database_ = choice.database;
        userId_ = choice.user;
        serverPassword_ = choice.password;
    }
    connected_ = true;
    return Outcome::SignedIn;
}

} // namespace chemodesk
