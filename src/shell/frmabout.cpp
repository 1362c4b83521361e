#include "frmabout.h"

#include "session/dialogs/windows.h"
#include "session/globals.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace chemodesk::shell {

namespace {

constexpr int Step = 3;

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    const auto &g = session::globals();

    lblTitle = new QLabel(QStringLiteral("TOLVEX - CHEMOTHERAPY DEPARTMENT"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(QStringLiteral("Version: ") + QStringLiteral(CHEMODESK_VERSION), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblHospital =
        new QLabel(g.HospitalName.isEmpty() ? g.StationName
                                            : g.StationName + QLatin1Char('\n') + g.HospitalName,
                   this);
    lblHospital->setObjectName(QStringLiteral("lblHospital"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);
    layout->addWidget(lblTitle);
    layout->addWidget(lblVersion);
    layout->addWidget(lblHospital);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    fade_.setInterval(8);
    connect(&fade_, &QTimer::timeout, this, &frmAbout::step);
}

void frmAbout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    level_ = 0;
    session::SetTranslucent(this, level_);
    direction_ = Step;
    fade_.start();
}

void frmAbout::done(int result)
{
    // Closing starts the fade; the window goes when it is clear.
    if (!isVisible() || (direction_ < 0 && level_ <= 0)) {
        fade_.stop();
        QDialog::done(result);
        return;
    }
    result_ = result;
    direction_ = -Step;
    fade_.start();
}

void frmAbout::step()
{
    level_ = std::clamp(level_ + direction_, 0, 255);
    session::SetTranslucent(this, level_);
    if (direction_ > 0 && level_ >= 255) {
        fade_.stop();
    } else if (direction_ < 0 && level_ <= 0) {
        fade_.stop();
        QDialog::done(result_);
    }
}

} // namespace chemodesk::shell
