#include "frmchargeslipno.h"

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
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addStretch();
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
