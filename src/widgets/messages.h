#pragma once

// Every message box and modal dialog of the program goes through here, so a
// test can read what would have been shown and answer it without a person.

#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>

class QDialog;

namespace chemodesk::widgets {

class MessageService {
public:
    enum Icon { NoIcon, Information, Question, Exclamation, Critical };
    virtual ~MessageService() = default;
    // Returns the button pressed (QMessageBox::StandardButton).
    virtual int message(const QString &text, const QString &title, Icon icon,
                        QMessageBox::StandardButtons buttons = QMessageBox::Ok) = 0;
    // Shows `dialog` modally; returns QDialog::Accepted or Rejected.
    virtual int exec(QDialog &dialog) = 0;
};

// The service in use: real message boxes unless a test installed another.
MessageService &messages();
// Installs `service` (not owned) and returns the one it replaced; nullptr
// restores the real boxes.
MessageService *setMessageService(MessageService *service);

// Shorthands for the boxes the screens show. The default title of a box
// without one is the program's name, as the hospital's screens had it.
void msgInformation(const QString &text, const QString &title = {});
void msgExclamation(const QString &text, const QString &title = {});
void msgCritical(const QString &text, const QString &title = {});
bool msgYesNo(const QString &text, const QString &title = {});
bool msgOkCancel(const QString &text, const QString &title = {});
int execModal(QDialog &dialog);

QString defaultTitle();

} // namespace chemodesk::widgets
