#pragma once

// The about window: what this program is and which version runs. It fades in
// when it opens and out when it closes, one opacity step at a time.

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

namespace chemodesk::shell {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // The opacity level the window is at, 0 (clear) to 255 (opaque).
    int level() const { return level_; }
    // Milliseconds between two steps.
    void setStepInterval(int ms) { fade_.setInterval(ms); }

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblHospital = nullptr;
    QPushButton *cmdOK = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void step();

    QTimer fade_;
    int level_ = 0;
    int direction_ = 0;
    int result_ = 0;
};

} // namespace chemodesk::shell
