#pragma once

// Printing a charge slip: the charge-slip template opened with the slip's
// values and shown in the report viewer.

#include <QString>
#include <QVariantList>

#include <functional>

class QWidget;

namespace chemodesk::charging {

struct SlipPrint {
    QString templatePath; // as the screens spell it, under the Reports folder
    QVariantList parameters;
    QString caption; // of the viewer
};

// Title "Cancer Slip No.: " + slip, the admission number, the section "ON",
// the hospital's name and address, and the slip whose lines are printed.
SlipPrint chargeSlipPrint(const QString &slip, const QString &idNum, const QString &caption);

// Opens the template and shows it; a template that cannot be opened or run
// is reported in a message and nothing is shown.
void PrintChargeSlip(const SlipPrint &print, QWidget *parent);

using SlipPrinter = std::function<void(const SlipPrint &print, QWidget *parent)>;

} // namespace chemodesk::charging
