#include "procedures.h"

namespace chemodesk::hospital {

using db::arg;
using sql::quote;

namespace {

// Draws the next charge-slip number; the caller writes it "G" + number + "C".
Recordset drawChargeSlip(db::ProcedureContext &db, const QStringList &)
{
    const qlonglong number = db.drawCounter(QStringLiteral("CLINICAL_AREA..tbGenericChargeslip"),
                                            QStringLiteral("ChargeSlip"));
    return Recordset({QStringLiteral("ChargeSlip")}, {{QVariant(number)}});
}

// A row when the slip number is already on a charge or a request.
Recordset verifyChargeSlip(db::ProcedureContext &db, const QStringList &args)
{
    const QString slip = quote(arg(args, 0).trimmed());
    return db.query(
        QStringLiteral(
            "SELECT ChargeSlip FROM CLINICAL_AREA..tbCancerCharges WHERE ChargeSlip = %1 "
            "UNION SELECT ChargeSlip FROM LABORATORY..tbLabRequest WHERE ChargeSlip = %1 "
            "UNION SELECT ChargeSlip FROM RADIOLOGY..tbRadioRequest WHERE ChargeSlip = %1")
            .arg(slip));
}

} // namespace

void registerChargingProcedures(db::ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("spCancer_DrawChargeSlip"),
                 drawChargeSlip);
    registry.add(QStringLiteral("LABORATORY"), QStringLiteral("Verifiy_Chargeslip"),
                 verifyChargeSlip);
    // 'Y' while the patient is admitted: in-patient prices apply.
    registry.addFunction(
        QStringLiteral("HEMODIALYSIS"), QStringLiteral("fn_HemoIPDPrice"),
        QStringLiteral(
            "SELECT max('Y') FROM PATIENT_DATA..tbPatient WHERE IdNum = @1 AND DcrDate IS NULL"));
}

} // namespace chemodesk::hospital
