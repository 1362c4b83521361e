#pragma once

// Pictures of the program for its documentation, taken by the program itself
// when CHEMODESK_SCREENSHOT_DIR names a folder (scripts/screenshots.sh): the
// sign-in dialog, filled in with the head nurse of the demo data, the main
// window with a selected patient and the assistant's announcement, and the
// patient list. Every message box is answered and written to the error
// stream, and the program ends when the last picture is saved.

#include "widgets/messages.h"

#include <QObject>
#include <QString>

#include <memory>

namespace chemodesk::shell {
class frmMain;
}

namespace chemodesk {

class ScreenshotTour : public QObject, public widgets::MessageService {
    Q_OBJECT
public:
    // Nothing unless the variable is set.
    static std::unique_ptr<ScreenshotTour> fromEnvironment(shell::frmMain &window);
    ~ScreenshotTour() override;

    // Takes the main window's pictures once the start-up is over.
    void start();

    int message(const QString &text, const QString &title, Icon icon,
                QMessageBox::StandardButtons buttons) override;
    int exec(QDialog &dialog) override;

private:
    ScreenshotTour(shell::frmMain &window, QString folder);
    void choosePatient();
    void waitForAnnouncement(int triesLeft);
    void finish();
    void save(QWidget *widget, const QString &name);

    shell::frmMain &window_;
    QString folder_;
};

} // namespace chemodesk
