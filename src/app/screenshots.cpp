#include "screenshots.h"

#include "assistant/agentcharacter.h"
#include "shell/frmmain.h"
#include "usercomponent/signindialog.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace chemodesk {

namespace {

// Lets queued paints and layouts land before a picture is taken.
void settle(int ms = 300)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

std::unique_ptr<ScreenshotTour> ScreenshotTour::fromEnvironment(shell::frmMain &window)
{
    const QString folder = qEnvironmentVariable("CHEMODESK_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return nullptr;
    QDir().mkpath(folder);
    return std::unique_ptr<ScreenshotTour>(new ScreenshotTour(window, folder));
}

ScreenshotTour::ScreenshotTour(shell::frmMain &window, QString folder)
    : window_(window), folder_(std::move(folder))
{
    widgets::setMessageService(this);
}

ScreenshotTour::~ScreenshotTour()
{
    widgets::setMessageService(nullptr);
}

int ScreenshotTour::message(const QString &text, const QString &title, Icon,
                            QMessageBox::StandardButtons buttons)
{
    std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(text));
    return buttons & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok;
}

int ScreenshotTour::exec(QDialog &dialog)
{
    auto *signIn = qobject_cast<SignInDialog *>(&dialog);
    if (!signIn)
        return QDialog::Rejected;
    signIn->txtEmployeeID->setText(QStringLiteral("1001"));
    signIn->txtAccessCode->setText(QStringLiteral("ROSE1001"));
    dialog.show();
    settle();
    save(&dialog, QStringLiteral("signin.png"));
    dialog.hide();
    return QDialog::Accepted;
}

void ScreenshotTour::start()
{
    QTimer::singleShot(500, this, &ScreenshotTour::choosePatient);
}

// An admitted patient, so the panel shows the in-patient class.
void ScreenshotTour::choosePatient()
{
    if (auto *list = window_.patientList()) {
        list->optPatientType[0]->click();
        if (list->ListView1->topLevelItemCount() > 2) {
            list->ListView1->setCurrentItem(list->ListView1->topLevelItem(2));
            list->chooseCurrentPatient();
        }
    }
    waitForAnnouncement(40);
}

void ScreenshotTour::waitForAnnouncement(int triesLeft)
{
    if (window_.agent()->balloonText().isEmpty() && triesLeft > 0) {
        QTimer::singleShot(200, this, [this, triesLeft] { waitForAnnouncement(triesLeft - 1); });
        return;
    }
    finish();
}

void ScreenshotTour::finish()
{
    settle();
    save(&window_, QStringLiteral("mainwindow.png"));
    if (auto *list = window_.patientList()) {
        QWidget *frame = list->parentWidget() ? list->parentWidget() : list;
        save(frame, QStringLiteral("patientlist.png"));
    }
    QApplication::exit(0);
}

void ScreenshotTour::save(QWidget *widget, const QString &name)
{
    const QString path = folder_ + QLatin1Char('/') + name;
    if (!widget->grab().save(path))
        std::fprintf(stderr, "could not save %s\n", qPrintable(path));
    else
        std::fprintf(stderr, "saved %s\n", qPrintable(path));
}

} // namespace chemodesk
