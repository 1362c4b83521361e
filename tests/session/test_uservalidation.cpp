// The access-code dialog and the department password: what each says, what
// the caller reads afterwards, and the keys.

#include "session/dialogs/frmdeletepassword.h"
#include "session/dialogs/frmusersetting.h"
#include "session/dialogs/frmuservalidation.h"
#include "session/globals.h"
#include "support/enginetest.h"
#include "support/fakepanel.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using session::frmDeletePassword;
using session::frmUserValidation;

namespace {

class UserValidation : public test::EngineTest {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        EngineTest::SetUp();
    }
    void TearDown() override { session::resetGlobals(); }

    session::Globals &g = session::globals();
};

enum class Key { EnterInAccessCode, EnterInReason, OkButton };

TEST_P(UserValidation, MessagesAndWhatTheCallerReads)
{
    const struct {
        const char *name;
        const char *id, *code, *reason;
        bool reasonRequired;
        Key key;
        QStringList messages;
        bool closed;
        const char *validatedId, *validatedName, *validationReason;
    } cases[] = {
        {"good code",
         " 1001 ",
         "ROSE1001",
         "",
         false,
         Key::EnterInAccessCode,
         {},
         true,
         "1001",
         "DELA CRUZ, ROSARIO MANALO",
         ""},
        {"good code through OK",
         "1002",
         "JPV1002",
         "",
         false,
         Key::OkButton,
         {},
         true,
         "1002",
         "VILLANUEVA, JOHN PAUL SORIANO",
         ""},
        {"wrong code",
         "1001",
         "ROSE1002",
         "",
         false,
         Key::EnterInAccessCode,
         {"Unauthorized User for this department"},
         false,
         "",
         "",
         ""},
        {"code of another employee",
         "1002",
         "ROSE1001",
         "",
         false,
         Key::OkButton,
         {"Unauthorized User for this department"},
         false,
         "",
         "",
         ""},
        {"employee of another department",
         "1006",
         "EDGAR1006",
         "",
         false,
         Key::EnterInAccessCode,
         {"Unauthorized User for this department"},
         false,
         "",
         "",
         ""},
        {"an apostrophe in the id",
         "1001' OR '1'='1",
         "x",
         "",
         false,
         Key::EnterInAccessCode,
         {"Unauthorized User for this department"},
         false,
         "",
         "",
         ""},
        {"reason required, none given",
         "1001",
         "ROSE1001",
         "  ",
         true,
         Key::EnterInAccessCode,
         {"Please Enter Reason for Cancellation"},
         false,
         "",
         "DELA CRUZ, ROSARIO MANALO",
         ""},
        {"reason required and given",
         "1001",
         "ROSE1001",
         " wrong item ",
         true,
         Key::EnterInReason,
         {},
         true,
         "1001",
         "DELA CRUZ, ROSARIO MANALO",
         "wrong item"},
        // The reason is asked for before the code is checked.
        {"reason box first",
         "1001",
         "ROSE1002",
         "",
         true,
         Key::EnterInReason,
         {"Please Enter Reason for Cancellation"},
         false,
         "",
         "",
         ""},
        {"wrong code with a reason",
         "1001",
         "BAD",
         "typo",
         true,
         Key::EnterInReason,
         {"Unauthorized User for this department"},
         false,
         "",
         "",
         ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // A previous confirmation must not leak into this one.
        g.ValidatedUserId = QStringLiteral("1005");
        g.ValidatedUserName = QStringLiteral("MENDOZA, LORNA ABAD");
        g.ValidationReason = QStringLiteral("old");
        g.ReasonRequired = c.reasonRequired;
        test::ScriptedMessages messages;
        frmUserValidation dialog(*db);
        dialog.show();
        dialog.txtUserID->setText(QString::fromUtf8(c.id));
        dialog.txtAccessCode->setText(QString::fromUtf8(c.code));
        dialog.txtReason->setText(QString::fromUtf8(c.reason));
        switch (c.key) {
        case Key::EnterInAccessCode:
            QTest::keyClick(dialog.txtAccessCode, Qt::Key_Return);
            break;
        case Key::EnterInReason:
            QTest::keyClick(dialog.txtReason, Qt::Key_Enter);
            break;
        case Key::OkButton:
            dialog.cmdOK->click();
            break;
        }
        QStringList shown;
        for (const auto &m : messages.shown()) {
            shown << m.text;
            EXPECT_EQ(m.title, QStringLiteral("Message"));
        }
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(dialog.isVisible(), !c.closed);
        EXPECT_EQ(dialog.result(), c.closed ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(g.ValidatedUserId, QString::fromUtf8(c.validatedId));
        EXPECT_EQ(g.ValidatedUserName, QString::fromUtf8(c.validatedName));
        EXPECT_EQ(g.ValidationReason, QString::fromUtf8(c.validationReason));
    }
}

TEST_P(UserValidation, RetryAfterAWrongCodeWorks)
{
    test::ScriptedMessages messages;
    frmUserValidation dialog(*db);
    dialog.show();
    dialog.txtUserID->setText(QStringLiteral("1004"));
    dialog.txtAccessCode->setText(QStringLiteral("mark1004"));
    QTest::keyClick(dialog.txtAccessCode, Qt::Key_Return);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Unauthorized User for this department"));
    EXPECT_TRUE(dialog.isVisible());
    dialog.txtAccessCode->setText(QStringLiteral("MARK1004"));
    QTest::keyClick(dialog.txtAccessCode, Qt::Key_Return);
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(g.ValidatedUserId, QStringLiteral("1004"));
    EXPECT_EQ(g.ValidatedUserName, QStringLiteral("GARCIA, MARK ANTHONY LOPEZ"));
}

CHEMODESK_ENGINE_TESTS(UserValidation);

TEST(UserValidationKeys, TextSentAndKeysThatCloseOrMoveOn)
{
    session::resetGlobals();
    chemodesk::testing::RecordingConnection db;
    test::ScriptedMessages messages;
    {
        frmUserValidation dialog(db);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        dialog.txtUserID->setFocus();
        dialog.txtUserID->setText(QStringLiteral("10'01"));
        QTest::keyClick(dialog.txtUserID, Qt::Key_Return);
        EXPECT_TRUE(dialog.txtAccessCode->hasFocus());
        EXPECT_TRUE(db.texts().isEmpty());
        EXPECT_EQ(dialog.txtAccessCode->echoMode(), QLineEdit::Password);
        dialog.txtAccessCode->setText(QStringLiteral(" A "));
        QTest::keyClick(dialog.txtAccessCode, Qt::Key_Return);
        // "A" scrambled: 5B, then (65 + 91) xor 'K' = 0xD7.
        EXPECT_EQ(db.texts(),
                  QStringList{QStringLiteral(
                      "Clinical_Area..sp_Check_User_Department_Access '10''01','5BD7','ON'")});
    }
    session::globals().ValidatedUserId = QStringLiteral("1001");
    {
        frmUserValidation dialog(db);
        dialog.show();
        dialog.txtUserID->setText(QStringLiteral("1001"));
        dialog.txtAccessCode->setText(QStringLiteral("ROSE1001"));
        QTest::keyClick(dialog.txtAccessCode, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    // Closed without a check: nothing validated.
    EXPECT_TRUE(session::globals().ValidatedUserId.isEmpty());
    {
        frmUserValidation dialog(db);
        dialog.show();
        dialog.cmdClose->click();
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_TRUE(session::globals().ValidatedUserId.isEmpty());
    EXPECT_TRUE(messages.shown().size() == 1u); // the refusal of "A" only
    session::resetGlobals();
}

TEST(UserValidationKeys, ADatabaseErrorIsShownAndValidatesNothing)
{
    session::resetGlobals();
    chemodesk::testing::RecordingConnection db;
    db.failOn(QStringLiteral("Clinical_Area..sp_Check_User_Department_Access '1001','5B','ON'"),
              QStringLiteral("server gone"));
    test::ScriptedMessages messages;
    frmUserValidation dialog(db);
    dialog.show();
    dialog.txtUserID->setText(QStringLiteral("1001"));
    QTest::keyClick(dialog.txtAccessCode, Qt::Key_Return);
    EXPECT_EQ(messages.lastText(), QStringLiteral("server gone"));
    EXPECT_EQ(messages.shown().back().icon, widgets::MessageService::Critical);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(session::globals().ValidatedUserId.isEmpty());
}

// ------------------------------------------------------ department password

const QString PasswordQuery =
    QStringLiteral("select OPDPassword from PATIENT_DATA..tbHospitalInfo");

TEST(DepartmentPassword, ComparedExactlyAndCaseSensitively)
{
    const QString wrong = QStringLiteral("Password not valid!");
    const QString unset = session::NoDepartmentPasswordMessage();
    // With no password set nothing typed matches, an empty text least of all:
    // the dialog closes with the message that one must be set first.
    const struct {
        const char *name;
        std::optional<QVariant> stored; // no row when empty
        const char *typed;
        bool ok;
        const QString &refusal;
    } cases[] = {
        {"right", QVariant(QStringLiteral("CANCER")), "CANCER", true, wrong},
        {"lower case", QVariant(QStringLiteral("CANCER")), "cancer", false, wrong},
        {"a trailing blank", QVariant(QStringLiteral("CANCER")), "CANCER ", false, wrong},
        {"empty", QVariant(QStringLiteral("CANCER")), "", false, wrong},
        {"no hospital row, nothing typed", std::nullopt, "", false, unset},
        {"no hospital row, something typed", std::nullopt, "CANCER", false, unset},
        {"Null password, nothing typed", QVariant(), "", false, unset},
        {"empty password, nothing typed", QVariant(QString()), "", false, unset},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        chemodesk::testing::RecordingConnection db;
        if (c.stored)
            db.answer(PasswordQuery,
                      chemodesk::testing::table({QStringLiteral("OPDPassword")}, {{*c.stored}}));
        test::ScriptedMessages messages;
        frmDeletePassword dialog(db);
        dialog.show();
        EXPECT_EQ(dialog.txtPassword->echoMode(), QLineEdit::Password);
        dialog.txtPassword->setText(QString::fromUtf8(c.typed));
        QTest::keyClick(dialog.txtPassword, Qt::Key_Return);
        EXPECT_EQ(db.texts(), QStringList{PasswordQuery});
        EXPECT_EQ(dialog.DeleteOK(), c.ok);
        // A wrong password may be typed again; a missing one leaves nothing to try.
        EXPECT_EQ(dialog.isVisible(), !c.ok && &c.refusal == &wrong);
        EXPECT_EQ(messages.lastText(), c.ok ? QString() : c.refusal);
        // No screen asked for, none opened.
        EXPECT_EQ(messages.dialogsShown(), 0);
    }
}

TEST(DepartmentPassword, OpensTheScreenItWasAskedFor)
{
    chemodesk::testing::RecordingConnection db;
    db.answer(PasswordQuery, chemodesk::testing::table({QStringLiteral("OPDPassword")},
                                                       {{QStringLiteral("CANCER")}}));
    QWidget mainWindow;
    test::FakePanel panel;
    for (int form : {2, 3}) {
        SCOPED_TRACE(form);
        test::ScriptedMessages messages;
        QString opened;
        messages.onDialog([&](QDialog &d) {
            if (auto *screen = qobject_cast<session::frmUserSetting *>(&d))
                opened = screen->objectName();
            return QDialog::Rejected;
        });
        int departmentSettings = 0;
        frmDeletePassword dialog(db, &mainWindow);
        dialog.setGetForm(form);
        dialog.setUserSettingContext(&panel, QStringLiteral("1001"));
        dialog.setDepartmentSettings([&] { ++departmentSettings; });
        dialog.txtPassword->setText(QStringLiteral("CANCER"));
        dialog.cmdEnter->click();
        EXPECT_TRUE(dialog.DeleteOK());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(opened, form == 2 ? QStringLiteral("frmUserSetting") : QString());
        EXPECT_EQ(departmentSettings, form == 3 ? 1 : 0);
    }
}

// A hospital row without a password must not hand the rights screen (or the
// department settings) to whoever presses Enter on an empty box.
TEST(DepartmentPassword, WithNoPasswordSetNeitherScreenOpens)
{
    chemodesk::testing::RecordingConnection db;
    db.answer(PasswordQuery,
              chemodesk::testing::table({QStringLiteral("OPDPassword")}, {{QVariant()}}));
    test::FakePanel panel;
    for (int form : {2, 3}) {
        SCOPED_TRACE(form);
        test::ScriptedMessages messages;
        int departmentSettings = 0;
        frmDeletePassword dialog(db);
        dialog.setGetForm(form);
        dialog.setUserSettingContext(&panel, QStringLiteral("1001"));
        dialog.setDepartmentSettings([&] { ++departmentSettings; });
        dialog.cmdEnter->click();
        EXPECT_FALSE(dialog.DeleteOK());
        EXPECT_EQ(messages.dialogsShown(), 0);
        EXPECT_EQ(departmentSettings, 0);
        EXPECT_EQ(messages.lastText(), session::NoDepartmentPasswordMessage());
    }
}

TEST(DepartmentPassword, EscapeClosesWithoutAnything)
{
    chemodesk::testing::RecordingConnection db;
    test::ScriptedMessages messages;
    frmDeletePassword dialog(db);
    dialog.setGetForm(2);
    dialog.show();
    dialog.txtPassword->setText(QStringLiteral("CANCER"));
    QTest::keyClick(dialog.txtPassword, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.DeleteOK());
    EXPECT_TRUE(db.texts().isEmpty());
    EXPECT_EQ(messages.dialogsShown(), 0);
}

} // namespace
