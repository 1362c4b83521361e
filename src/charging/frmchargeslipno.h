#pragma once

// Shows a charge slip number just drawn (the assessment entry's slip); OK,
// Enter or Escape closes it.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace chemodesk::charging {

class frmChargeSlipNo : public QDialog {
    Q_OBJECT
public:
    explicit frmChargeSlipNo(QWidget *parent = nullptr);

    QString ChargeSlip() const { return chargeSlip_; }
    void setChargeSlip(const QString &slip);

    QLabel *lblChargeSlip = nullptr;
    QPushButton *cmdOK = nullptr;

private:
    QString chargeSlip_;
};

} // namespace chemodesk::charging
