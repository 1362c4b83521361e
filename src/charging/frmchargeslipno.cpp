#include "frmchargeslipno.h"

#include "widgets/dialogparts.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace chemodesk::charging {

frmChargeSlipNo::frmChargeSlipNo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmChargeSlipNo"));
    setWindowTitle(QStringLiteral("Charge Slip"));
    lblChargeSlip = new QLabel(this);
    lblChargeSlip->setObjectName(QStringLiteral("lblChargeSlip"));
    lblChargeSlip->setAlignment(Qt::AlignCenter);
    lblChargeSlip->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont big = lblChargeSlip->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    lblChargeSlip->setFont(big);
    cmdOK = widgets::namedButton(this, "cmdOK", QStringLiteral("&OK"), true);
    auto *buttons = widgets::buttonRow({cmdOK}, widgets::RowAlign::Center);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblChargeSlip);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    resize(320, 130);
}

void frmChargeSlipNo::setChargeSlip(const QString &slip)
{
    chargeSlip_ = slip;
    lblChargeSlip->setText(slip);
}

} // namespace chemodesk::charging
