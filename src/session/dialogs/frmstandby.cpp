#include "frmstandby.h"

#include "platform/connection.h"
#include "session/globals.h"
#include "widgets/dialogparts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace chemodesk::session {

frmStandBy::frmStandBy(std::unique_ptr<platform::UserComponent> current, UserFactory factory,
                       QWidget *parent)
    : QDialog(parent), current_(std::move(current)), factory_(std::move(factory))
{
    setObjectName(QStringLiteral("frmStandBy"));
    setWindowTitle(QStringLiteral("Stand By"));
    setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);

    lblLocked =
        new QLabel(QStringLiteral("This workstation is locked.\nPress OK to sign in again."), this);
    lblLocked->setObjectName(QStringLiteral("lblLocked"));
    lblLocked->setAlignment(Qt::AlignCenter);
    cmdOK = widgets::namedButton(this, "cmdOK", QStringLiteral("&OK"), true);
    auto *buttons = widgets::buttonRow({cmdOK}, widgets::RowAlign::Center);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblLocked);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmStandBy::unlock);
    cmdOK->setFocus();
}

frmStandBy::~frmStandBy() = default;

std::unique_ptr<platform::UserComponent> frmStandBy::takeCurrentUser()
{
    return std::move(current_);
}

void frmStandBy::reject()
{
    if (unlocked_)
        QDialog::reject();
}

void frmStandBy::closeEvent(QCloseEvent *event)
{
    if (!unlocked_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void frmStandBy::unlock()
{
    std::unique_ptr<platform::UserComponent> next = factory_ ? factory_() : nullptr;
    if (next) {
        next->setPasswordDeptCode(QStringLiteral("9"));
        next->sethwndParentForm(parentWidget());
        next->ShowMain();
    }
    if (!next || !next->Connected() || !next->SQLConnection()) {
        // Nobody signed in: the program ends. The old component stays alive
        // until then, since the program's timers still borrow its connection.
        QCoreApplication::exit(0);
        done(QDialog::Rejected);
        return;
    }
    Connection *connection = next->SQLConnection();
    // Every unqualified text of the screens means the department's database.
    connection->setDefaultDatabase(QStringLiteral("CLINICAL_AREA"));
    connection->setCommandTimeout(120);
    // Re-point before the old connection goes, so nothing reads a dead one.
    globals().DbConnection = connection;
    current_ = std::move(next);
    unlocked_ = true;
    accept();
}

} // namespace chemodesk::session
