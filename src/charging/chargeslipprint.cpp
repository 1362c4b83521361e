#include "chargeslipprint.h"

#include "reports/reportprocs.h"
#include "session/globals.h"

namespace chemodesk::charging {

SlipPrint chargeSlipPrint(const QString &slip, const QString &idNum, const QString &caption)
{
    const session::Globals &g = session::globals();
    SlipPrint print;
    print.templatePath = QStringLiteral("\\Reports\\Chargeslip.RPT");
    // The sixth value names the slip, so the lines come from the slip itself
    // rather than from the print table every workstation's save refills: a
    // reprint shows its own slip, and a save on another workstation between
    // this save and its print cannot put that patient's lines on this slip.
    print.parameters = {QVariant(QStringLiteral("Cancer Slip No.: ") + slip.trimmed()),
                        QVariant(idNum.trimmed()),
                        QVariant(QStringLiteral("ON")),
                        QVariant(g.HospitalName),
                        QVariant(g.HospitalAddress),
                        QVariant(slip.trimmed())};
    print.caption = caption;
    return print;
}

} // namespace chemodesk::charging
