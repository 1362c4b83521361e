#pragma once

// The lock screen. It cannot be closed except by signing in again: OK signs
// the current user out, signs a user in through a new user component and
// hands that component back to the caller. When nobody signs in the program
// ends.

#include "platform/usercomponent.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace chemodesk::session {

class frmStandBy : public QDialog {
    Q_OBJECT
public:
    using UserFactory = std::function<std::unique_ptr<platform::UserComponent>()>;

    // Takes the signed-in component; `factory` makes the next one.
    frmStandBy(std::unique_ptr<platform::UserComponent> current, UserFactory factory,
               QWidget *parent = nullptr);
    ~frmStandBy() override;

    // After the screen closed: the component signed in through it, or, when
    // the new sign-in failed (the program is ending), the old one, kept so
    // that no borrowed connection dangles until the program is gone.
    std::unique_ptr<platform::UserComponent> takeCurrentUser();
    // True once a new user signed in.
    bool Unlocked() const { return unlocked_; }

    QLabel *lblLocked = nullptr;
    QPushButton *cmdOK = nullptr;

    // The OK button.
    void unlock();

public:
    // Escape and the window's close button do not unlock.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<platform::UserComponent> current_;
    UserFactory factory_;
    bool unlocked_ = false;
};

} // namespace chemodesk::session
