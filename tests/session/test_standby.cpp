// The lock screen: only a new sign-in opens it; the new user's connection is
// set up for the department and becomes the program's; no sign-in ends the
// program without leaving a dead connection behind.

#include "session/dialogs/frmstandby.h"
#include "session/globals.h"
#include "support/recordingconnection.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace chemodesk;
using session::frmStandBy;

namespace {

// A user component that signs in (or not) without a dialog, and tells what
// was done to it.
class FakeUser : public platform::UserComponent {
public:
    FakeUser(bool signsIn, QStringList &log, QString name)
        : signsIn_(signsIn), log_(log), name_(std::move(name))
    {
    }
    ~FakeUser() override { log_ << name_ + QStringLiteral(" released"); }

    void setPasswordDeptCode(const QString &code) override
    {
        log_ << name_ + QStringLiteral(" dept ") + code;
    }
    void sethwndParentForm(QWidget *parent) override { parent_ = parent; }
    void ShowMain() override
    {
        log_ << name_ + QStringLiteral(" ShowMain");
        connected_ = signsIn_;
    }
    bool Connected() const override { return connected_; }
    Connection *SQLConnection() const override { return connected_ ? &connection_ : nullptr; }
    QString EmployeeCode() const override { return name_; }
    QString EmployeeName() const override { return name_; }
    QString ServerName() const override { return QStringLiteral("(local)"); }
    QString Database() const override { return {}; }
    QString UserId() const override { return {}; }
    QString serverpassword() const override { return {}; }

    QWidget *parent_ = nullptr;
    mutable chemodesk::testing::RecordingConnection connection_;

private:
    bool signsIn_;
    bool connected_ = false;
    QStringList &log_;
    QString name_;
};

struct Lock {
    explicit Lock(bool newUserSignsIn)
    {
        auto old = std::make_unique<FakeUser>(true, log, QStringLiteral("old"));
        old->ShowMain();
        oldConnection = old->SQLConnection();
        session::globals().DbConnection = oldConnection;
        log.clear();
        screen = std::make_unique<frmStandBy>(
            std::move(old),
            [this, newUserSignsIn]() -> std::unique_ptr<platform::UserComponent> {
                return std::make_unique<FakeUser>(newUserSignsIn, log, QStringLiteral("new"));
            },
            &mainWindow);
    }
    ~Lock() { session::resetGlobals(); }

    QStringList log;
    QWidget mainWindow;
    Connection *oldConnection = nullptr;
    std::unique_ptr<frmStandBy> screen;
};

TEST(StandBy, ANewSignInTakesOver)
{
    Lock lock(true);
    lock.screen->show();
    lock.screen->cmdOK->click();
    EXPECT_TRUE(lock.screen->Unlocked());
    EXPECT_EQ(lock.screen->result(), QDialog::Accepted);
    EXPECT_FALSE(lock.screen->isVisible());
    // The old user goes only once the new one is in.
    EXPECT_EQ(lock.log, (QStringList{QStringLiteral("new dept 9"), QStringLiteral("new ShowMain"),
                                     QStringLiteral("old released")}));
    auto user = lock.screen->takeCurrentUser();
    ASSERT_TRUE(user);
    EXPECT_EQ(user->EmployeeCode(), QStringLiteral("new"));
    EXPECT_EQ(static_cast<FakeUser &>(*user).parent_, &lock.mainWindow);
    Connection *connection = user->SQLConnection();
    EXPECT_EQ(session::globals().DbConnection, connection);
    EXPECT_EQ(connection->DefaultDatabase(), QStringLiteral("CLINICAL_AREA"));
    EXPECT_EQ(connection->CommandTimeout(), 120);
}

TEST(StandBy, NoSignInEndsTheProgram)
{
    Lock lock(false);
    lock.screen->show();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    QTimer::singleShot(0, lock.screen.get(), [&] { lock.screen->cmdOK->click(); });
    const int code = QCoreApplication::exec();
    guard.stop();
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(lock.screen->Unlocked());
    EXPECT_FALSE(lock.screen->isVisible());
    // The program still points at the old connection, which lives until the
    // program is gone; the failed component is released.
    EXPECT_EQ(lock.log, (QStringList{QStringLiteral("new dept 9"), QStringLiteral("new ShowMain"),
                                     QStringLiteral("new released")}));
    EXPECT_EQ(session::globals().DbConnection, lock.oldConnection);
    auto kept = lock.screen->takeCurrentUser();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->SQLConnection(), lock.oldConnection);
}

TEST(StandBy, EscapeAndClosingDoNotUnlock)
{
    Lock lock(true);
    lock.screen->show();
    QTest::keyClick(lock.screen.get(), Qt::Key_Escape);
    EXPECT_TRUE(lock.screen->isVisible());
    lock.screen->close();
    EXPECT_TRUE(lock.screen->isVisible());
    EXPECT_TRUE(lock.log.isEmpty());
    // Enter is OK.
    QTest::keyClick(lock.screen->cmdOK, Qt::Key_Return);
    EXPECT_TRUE(lock.screen->Unlocked());
    EXPECT_FALSE(lock.screen->isVisible());
}

} // namespace
