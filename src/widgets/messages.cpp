#include "messages.h"

#include <QApplication>
#include <QDialog>

namespace chemodesk::widgets {

namespace {

class BoxService : public MessageService {
public:
    int message(const QString &text, const QString &title, Icon icon,
                QMessageBox::StandardButtons buttons) override
    {
        static const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                  QMessageBox::Question, QMessageBox::Warning,
                                                  QMessageBox::Critical};
        QMessageBox box(icons[icon], title, text, buttons, QApplication::activeWindow());
        return box.exec();
    }
    int exec(QDialog &dialog) override { return dialog.exec(); }
};

BoxService boxes;
MessageService *current = &boxes;

} // namespace

MessageService &messages()
{
    return *current;
}

MessageService *setMessageService(MessageService *service)
{
    MessageService *previous = current == &boxes ? nullptr : current;
    current = service ? service : &boxes;
    return previous;
}

QString defaultTitle()
{
    return QStringLiteral("ChemoDesk");
}

static QString titleOr(const QString &title)
{
    return title.isEmpty() ? defaultTitle() : title;
}

void msgInformation(const QString &text, const QString &title)
{
    messages().message(text, titleOr(title), MessageService::Information);
}

void msgExclamation(const QString &text, const QString &title)
{
    messages().message(text, titleOr(title), MessageService::Exclamation);
}

void msgCritical(const QString &text, const QString &title)
{
    messages().message(text, titleOr(title), MessageService::Critical);
}

bool msgYesNo(const QString &text, const QString &title)
{
    return messages().message(text, titleOr(title), MessageService::Question,
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool msgOkCancel(const QString &text, const QString &title)
{
    return messages().message(text, titleOr(title), MessageService::Question,
                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

int execModal(QDialog &dialog)
{
    return messages().exec(dialog);
}

} // namespace chemodesk::widgets
