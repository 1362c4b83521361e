#pragma once

// Printing a charge slip: the charge-slip template opened with the slip's
// values and shown in the report viewer.

#include "reports/reportprocs.h"

#include <QString>

#include <functional>

class QWidget;

namespace chemodesk::charging {

using SlipPrint = reports::Printout;

// Title "Cancer Slip No.: " + slip, the admission number, the section "ON",
// the hospital's name and address, and the slip whose lines are printed.
SlipPrint chargeSlipPrint(const QString &slip, const QString &idNum, const QString &caption);

using SlipPrinter = std::function<void(const SlipPrint &print, QWidget *parent)>;

} // namespace chemodesk::charging
