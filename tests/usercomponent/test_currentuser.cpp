// Signing in through the user component: each demo employee, a wrong code
// and the retry, cancelling, the remembered database, the scripted sign-in
// of the settings file, on every engine.

#include "hospitaldb/database.h"
#include "usercomponent/currentuser.h"
#include "usercomponent/signindialog.h"

#include "support/enginetest.h"
#include "support/scriptedmessages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

using namespace chemodesk;

namespace {

class SignIn : public test::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!db)
            return;
        target = test::lastTarget();
        settingsPath = dir.filePath(QStringLiteral("signin.ini"));
    }
    bool server() const { return GetParam() == "postgresql"; }

    // The database part of the dialog, as a user would fill it for the
    // test's database.
    void chooseDatabase(SignInDialog &dialog) const
    {
        if (!server()) {
            dialog.optEmbedded->setChecked(true);
            dialog.txtFile->setText(target);
            return;
        }
        const QUrl url(target);
        dialog.optServer->setChecked(true);
        dialog.txtHost->setText(url.host());
        dialog.txtPort->setText(QString::number(url.port(5432)));
        dialog.txtDatabase->setText(url.path().mid(1));
        dialog.txtUser->setText(url.userName());
        dialog.txtPassword->setText(url.password());
    }
    // A dialog answer: employee and code typed, database chosen, OK.
    std::function<int(QDialog &)> typing(const QString &employee, const QString &code,
                                         bool withDatabase = true)
    {
        return [=, this](QDialog &d) {
            auto &dialog = dynamic_cast<SignInDialog &>(d);
            if (withDatabase)
                chooseDatabase(dialog);
            dialog.txtEmployeeID->setText(employee);
            dialog.txtAccessCode->setText(code);
            return int(QDialog::Accepted);
        };
    }
    void writeDatabaseChoice(QSettings &settings) const
    {
        DatabaseChoice choice;
        if (server()) {
            const QUrl url(target);
            choice.kind = DatabaseChoice::Server;
            choice.host = url.host();
            choice.port = url.port(5432);
            choice.database = url.path().mid(1);
            choice.user = url.userName();
            choice.password = url.password();
        } else {
            choice.file = target;
        }
        choice.write(settings);
    }

    QTemporaryDir dir;
    QString settingsPath;
    QString target;
};

TEST_P(SignIn, EveryDemoEmployeeSignsInWithTheirCode)
{
    const struct {
        const char *id, *code, *name;
    } employees[] = {
        {"1001", "ROSE1001", "DELA CRUZ, ROSARIO MANALO"},
        {"1002", "JPV1002", "VILLANUEVA, JOHN PAUL SORIANO"},
        {"1003", "ANA1003", "BAUTISTA, ANA LIZA PEREZ"},
        {"1004", "MARK1004", "GARCIA, MARK ANTHONY LOPEZ"},
        {"1005", "LORNA1005", "MENDOZA, LORNA ABAD"},
        {"1006", "EDGAR1006", "RAMOS, EDGARDO CHAVEZ"},
        {"1007", "MARI1007", "AGUILAR, MARICEL TAN"},
    };
    const QUrl url(target);
    for (const auto &e : employees) {
        SCOPED_TRACE(e.id);
        test::ScriptedMessages messages;
        messages.onDialog(typing(QLatin1String(e.id), QLatin1String(e.code)));
        CurrentUser user(settingsPath);
        user.setPasswordDeptCode(QStringLiteral("9"));
        user.ShowMain();
        ASSERT_TRUE(user.Connected());
        EXPECT_TRUE(messages.shown().empty());
        EXPECT_EQ(messages.dialogsShown(), 1);
        EXPECT_EQ(user.PasswordDeptCode(), QStringLiteral("9"));
        EXPECT_EQ(user.EmployeeCode(), QLatin1String(e.id));
        EXPECT_EQ(user.EmployeeName(), QLatin1String(e.name));
        EXPECT_EQ(user.ServerName(), server() ? url.host() : QStringLiteral("(local)"));
        EXPECT_EQ(user.Database(), server() ? url.path().mid(1) : target);
        EXPECT_EQ(user.UserId(), server() ? url.userName() : QString());
        ASSERT_NE(user.SQLConnection(), nullptr);
        Recordset rs = user.SQLConnection()->Execute(
            QStringLiteral("select OPDPassword from PATIENT_DATA..tbHospitalInfo"));
        EXPECT_EQ(rs.Fields(QStringLiteral("OPDPassword")).toString(), QStringLiteral("CANCER"));
    }
}

TEST_P(SignIn, AWrongCodeIsRefusedAndTheUserTriesAgain)
{
    test::ScriptedMessages messages;
    QString codeShownAgain = QStringLiteral("unset");
    messages.onDialog(typing(QStringLiteral("1002"), QStringLiteral("jpv1002")));
    messages.onDialog([&](QDialog &d) {
        auto &dialog = dynamic_cast<SignInDialog &>(d);
        // The id and database stay; the code is to be typed again.
        codeShownAgain = dialog.txtAccessCode->text();
        EXPECT_EQ(dialog.txtEmployeeID->text(), QStringLiteral("1002"));
        dialog.txtAccessCode->setText(QStringLiteral("JPV1002"));
        return int(QDialog::Accepted);
    });
    CurrentUser user(settingsPath);
    user.ShowMain();
    EXPECT_TRUE(user.Connected());
    EXPECT_EQ(user.EmployeeCode(), QStringLiteral("1002"));
    EXPECT_EQ(messages.dialogsShown(), 2);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Invalid employee id or access code."));
    EXPECT_TRUE(codeShownAgain.isEmpty());
}

TEST_P(SignIn, MissingInputIsAskedForBeforeAnythingIsTried)
{
    test::ScriptedMessages messages;
    messages.onDialog(typing(QStringLiteral("  "), QStringLiteral("ROSE1001")));
    messages.onDialog([&](QDialog &d) {
        auto &dialog = dynamic_cast<SignInDialog &>(d);
        dialog.txtEmployeeID->setText(QStringLiteral("1001"));
        dialog.optServer->setChecked(true);
        dialog.txtHost->clear();
        return int(QDialog::Accepted);
    });
    // Then the user gives up.
    CurrentUser user(settingsPath);
    user.ShowMain();
    EXPECT_FALSE(user.Connected());
    EXPECT_EQ(user.SQLConnection(), nullptr);
    EXPECT_EQ(messages.dialogsShown(), 3);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Please enter your employee id."));
    EXPECT_EQ(messages.shown()[1].text,
              QStringLiteral("Please enter the database server's host name."));
}

TEST_P(SignIn, CancellingLeavesNobodySignedInAndNothingRemembered)
{
    test::ScriptedMessages messages;
    messages.onDialog([](QDialog &) { return int(QDialog::Rejected); });
    CurrentUser user(settingsPath);
    user.ShowMain();
    EXPECT_FALSE(user.Connected());
    EXPECT_EQ(user.SQLConnection(), nullptr);
    EXPECT_TRUE(user.EmployeeCode().isEmpty());
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_FALSE(QFile::exists(settingsPath));
}

TEST_P(SignIn, TheDatabaseChoiceIsRememberedForTheNextSignIn)
{
    {
        test::ScriptedMessages messages;
        messages.onDialog(typing(QStringLiteral("1001"), QStringLiteral("ROSE1001")));
        CurrentUser user(settingsPath);
        user.ShowMain();
        ASSERT_TRUE(user.Connected());
    }
    test::ScriptedMessages messages;
    // Only the employee types; the database comes from the settings file.
    messages.onDialog(typing(QStringLiteral("1005"), QStringLiteral("LORNA1005"), false));
    CurrentUser user(settingsPath);
    user.ShowMain();
    EXPECT_TRUE(user.Connected());
    EXPECT_EQ(user.EmployeeName(), QStringLiteral("MENDOZA, LORNA ABAD"));
    if (server()) {
        EXPECT_EQ(user.serverpassword(), QUrl(target).password());
    }
    // The access code is never written down.
    QFile file(settingsPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    EXPECT_FALSE(stored.contains("ROSE1001"));
    EXPECT_FALSE(stored.contains("LORNA1005"));
    EXPECT_FALSE(stored.contains("[signin]"));
}

TEST_P(SignIn, ScriptedSignInFromTheSettingsFile)
{
    const struct {
        const char *employee, *code;
        bool connected;
    } cases[] = {
        {"1004", "MARK1004", true},
        {"1004", "MARK1005", false},
        {"1099", "X", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        {
            QSettings settings(settingsPath, QSettings::IniFormat);
            writeDatabaseChoice(settings);
            settings.setValue(QStringLiteral("signin/employee"), QLatin1String(c.employee));
            qputenv("CHEMODESK_ACCESS_CODE", QByteArray(c.code));
        }
        test::ScriptedMessages messages;
        CurrentUser user(settingsPath);
        user.ShowMain();
        EXPECT_EQ(messages.dialogsShown(), 0);
        EXPECT_EQ(user.Connected(), c.connected);
        EXPECT_EQ(user.SQLConnection() != nullptr, c.connected);
        EXPECT_EQ(user.EmployeeCode(), c.connected ? QLatin1String(c.employee) : QString());
        EXPECT_EQ(messages.lastText(),
                  c.connected ? QString() : QStringLiteral("Invalid employee id or access code."));
    }
}

CHEMODESK_ENGINE_TESTS(SignIn);

TEST(SignInDatabase, AnUnreachableServerIsReportedAndTheUserMayChooseAgain)
{
    QTemporaryDir dir;
    test::ScriptedMessages messages;
    messages.onDialog([](QDialog &d) {
        auto &dialog = dynamic_cast<SignInDialog &>(d);
        dialog.optServer->setChecked(true);
        dialog.txtHost->setText(QStringLiteral("127.0.0.1"));
        dialog.txtPort->setText(QStringLiteral("1"));
        dialog.txtDatabase->setText(QStringLiteral("hospital"));
        dialog.txtEmployeeID->setText(QStringLiteral("1001"));
        dialog.txtAccessCode->setText(QStringLiteral("ROSE1001"));
        return int(QDialog::Accepted);
    });
    // Then this workstation's file, there already.
    test::freshDatabase("sqlite").reset();
    const QString file = test::lastTarget();
    messages.onDialog([&](QDialog &d) {
        auto &dialog = dynamic_cast<SignInDialog &>(d);
        dialog.optEmbedded->setChecked(true);
        dialog.txtFile->setText(file);
        return int(QDialog::Accepted);
    });
    CurrentUser user(dir.filePath(QStringLiteral("signin.ini")));
    user.ShowMain();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].icon, widgets::MessageService::Critical);
    EXPECT_TRUE(messages.shown()[0].text.startsWith(QStringLiteral("Cannot open the database")));
    EXPECT_TRUE(user.Connected());
    EXPECT_EQ(user.Database(), file);
    EXPECT_EQ(user.EmployeeName(), QStringLiteral("DELA CRUZ, ROSARIO MANALO"));
}

// A share not connected or a typing slip in the path: told, naming the path,
// and nothing made there.
TEST(SignInDatabase, AMissingFileIsAnErrorNamingItAndNothingIsMade)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("share/chemodesk.db"));
    const QString settingsPath = dir.filePath(QStringLiteral("signin.ini"));
    {
        QSettings settings(settingsPath, QSettings::IniFormat);
        DatabaseChoice choice;
        choice.file = file;
        choice.write(settings);
        settings.setValue(QStringLiteral("signin/employee"), QStringLiteral("1001"));
        qputenv("CHEMODESK_ACCESS_CODE", "ROSE1001");
    }
    test::ScriptedMessages messages;
    CurrentUser user(settingsPath);
    user.ShowMain();
    EXPECT_FALSE(user.Connected());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].icon, widgets::MessageService::Critical);
    EXPECT_TRUE(messages.shown()[0].text.contains(QDir::toNativeSeparators(file)))
        << messages.shown()[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("share"))));
}

// The first run on this workstation's default file makes it with the demo
// data, and the database says so from then on.
TEST(SignInDatabase, TheDefaultFileIsMadeOnTheFirstRunAsADemo)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    const auto restore = qScopeGuard([&] {
        if (saved.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", saved);
    });
    const QString file = hospital::defaultDatabasePath();
    ASSERT_TRUE(file.startsWith(dir.path())) << file.toStdString();
    const QString settingsPath = dir.filePath(QStringLiteral("signin.ini"));
    {
        QSettings settings(settingsPath, QSettings::IniFormat);
        settings.setValue(QStringLiteral("signin/employee"), QStringLiteral("1001"));
        qputenv("CHEMODESK_ACCESS_CODE", "ROSE1001");
    }
    test::ScriptedMessages messages;
    CurrentUser user(settingsPath);
    user.ShowMain();
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_TRUE(user.Connected());
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(
        hospital::isDemoDatabase(*dynamic_cast<db::HostedConnection *>(user.SQLConnection())));
}

TEST(SignInDatabase, ChoiceDefaultsAndServerUrl)
{
    QTemporaryDir dir;
    QSettings empty(dir.filePath(QStringLiteral("none.ini")), QSettings::IniFormat);
    const DatabaseChoice standard = DatabaseChoice::read(empty);
    EXPECT_EQ(standard.kind, DatabaseChoice::Embedded);
    EXPECT_FALSE(standard.file.isEmpty());
    EXPECT_EQ(standard.target(), standard.file);

    DatabaseChoice server;
    server.kind = DatabaseChoice::Server;
    server.host = QStringLiteral("db.hospital");
    server.port = 5433;
    server.database = QStringLiteral("hospital");
    server.user = QStringLiteral("nurse");
    server.password = QStringLiteral("p@ss:w/rd");
    const QUrl url(server.target());
    EXPECT_EQ(url.scheme(), QStringLiteral("postgresql"));
    EXPECT_EQ(url.host(), QStringLiteral("db.hospital"));
    EXPECT_EQ(url.port(), 5433);
    EXPECT_EQ(url.path(), QStringLiteral("/hospital"));
    EXPECT_EQ(url.password(), QStringLiteral("p@ss:w/rd"));

    QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    server.write(settings);
    const DatabaseChoice back = DatabaseChoice::read(settings);
    EXPECT_EQ(back.target(), server.target());
}

TEST(SignInDialogKeys, EnterMovesOnThenSignsIn)
{
    SignInDialog dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.txtAccessCode->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.txtPassword->echoMode(), QLineEdit::Password);
    // The embedded file is the default; the server's boxes wait for a server.
    EXPECT_TRUE(dialog.optEmbedded->isChecked());
    EXPECT_TRUE(dialog.txtFile->isEnabled());
    EXPECT_FALSE(dialog.txtHost->isEnabled());
    dialog.optServer->setChecked(true);
    EXPECT_FALSE(dialog.txtFile->isEnabled());
    EXPECT_TRUE(dialog.txtHost->isEnabled());

    dialog.txtEmployeeID->setFocus();
    QTest::keyClicks(dialog.txtEmployeeID, QStringLiteral("1001"));
    QTest::keyClick(dialog.txtEmployeeID, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.txtAccessCode->hasFocus());
    QTest::keyClicks(dialog.txtAccessCode, QStringLiteral("ROSE1001"));
    QTest::keyClick(dialog.txtAccessCode, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
