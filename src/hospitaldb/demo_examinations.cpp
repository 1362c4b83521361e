// The x-ray examinations the nurse orders, priced as the charge screen prices
// the same services, and the specimens of the laboratory examinations: most
// have one, a few several (the nurse chooses), crossmatching none.

#include "demoparts.h"

#include <QHash>

#include <cmath>

namespace chemodesk::hospital::demo {

namespace {

// The room-class rates of a service, as the price list has them (A to E, G).
QStringList ratesOf(const Service &s)
{
    static const double factor[] = {1.0, 1.10, 1.20, 1.30, 1.40, 0.90};
    QStringList rates;
    for (double f : factor)
        rates << money(std::round(s.rateA * f / 5.0) * 5.0);
    return rates;
}

void xrayExams(Connection &c, const std::vector<Service> &services)
{
    std::vector<QStringList> rows;
    for (const Service &s : services)
        if (s.section == QLatin1String("XR"))
            rows.push_back(QStringList{str(s.id), str(s.name)} + ratesOf(s));
    insertRows(c, QStringLiteral("BUILD_FILE..tbcoXrayExam"),
               QStringLiteral("XrayExamID, XrayExam, RateA, RateB, RateC, RateD, RateE, RateG"),
               rows);
}

void specimens(Connection &c, const std::vector<Service> &services)
{
    struct Specimen {
        const char *id;
        const char *name;
    };
    const Specimen all[] = {
        {"WB", "WHOLE BLOOD (EDTA)"},    {"SER", "SERUM"},
        {"CPL", "CITRATED PLASMA"},      {"HPL", "HEPARINIZED PLASMA"},
        {"FPL", "FLUORIDE PLASMA"},      {"URN", "RANDOM URINE"},
        {"U24", "24-HOUR URINE"},        {"STL", "STOOL"},
        {"BMA", "BONE MARROW ASPIRATE"}, {"BFL", "BODY FLUID"},
        {"CSF", "CEREBROSPINAL FLUID"},
    };
    std::vector<QStringList> rows;
    for (const Specimen &s : all)
        rows.push_back({str(QLatin1String(s.id)), str(QLatin1String(s.name))});
    insertRows(c, QStringLiteral("BUILD_FILE..tbcoLabSpecimen"),
               QStringLiteral("SpecimenID, Specimen"), rows);

    // By examination name; an examination not listed is run on serum.
    const QHash<QString, QStringList> taken = {
        {QStringLiteral("COMPLETE BLOOD COUNT (CBC)"), {QStringLiteral("WB")}},
        {QStringLiteral("PLATELET COUNT"), {QStringLiteral("WB")}},
        {QStringLiteral("RETICULOCYTE COUNT"), {QStringLiteral("WB")}},
        {QStringLiteral("PERIPHERAL BLOOD SMEAR"), {QStringLiteral("WB"), QStringLiteral("BMA")}},
        {QStringLiteral("PROTHROMBIN TIME (PT/INR)"), {QStringLiteral("CPL")}},
        {QStringLiteral("ACTIVATED PARTIAL THROMBOPLASTIN TIME"), {QStringLiteral("CPL")}},
        {QStringLiteral("CREATININE"), {QStringLiteral("SER"), QStringLiteral("U24")}},
        {QStringLiteral("SODIUM"), {QStringLiteral("SER"), QStringLiteral("HPL")}},
        {QStringLiteral("POTASSIUM"), {QStringLiteral("SER"), QStringLiteral("HPL")}},
        {QStringLiteral("IONIZED CALCIUM"), {QStringLiteral("HPL")}},
        {QStringLiteral("URIC ACID"), {QStringLiteral("SER"), QStringLiteral("U24")}},
        {QStringLiteral("FASTING BLOOD SUGAR"), {QStringLiteral("SER"), QStringLiteral("FPL")}},
        {QStringLiteral("LACTATE DEHYDROGENASE (LDH)"),
         {QStringLiteral("SER"), QStringLiteral("BFL"), QStringLiteral("CSF")}},
        {QStringLiteral("URINALYSIS"), {QStringLiteral("URN")}},
        {QStringLiteral("FECALYSIS"), {QStringLiteral("STL")}},
        {QStringLiteral("BLOOD TYPING (ABO/RH)"), {QStringLiteral("WB")}},
        // Drawn by the blood bank itself.
        {QStringLiteral("CROSSMATCHING"), {}},
    };
    std::vector<QStringList> links;
    for (const Service &s : services) {
        if (s.section != QLatin1String("LB"))
            continue;
        const auto found = taken.constFind(s.name);
        for (const QString &specimen :
             found == taken.constEnd() ? QStringList{QStringLiteral("SER")} : *found)
            links.push_back({str(s.id), str(specimen)});
    }
    insertRows(c, QStringLiteral("BUILD_FILE..tbcoLabSpecimenExam"),
               QStringLiteral("LabExamID, SpecimenID"), links);
}

} // namespace

void loadExaminations(Part &part)
{
    xrayExams(part.connection, part.loaded.services);
    specimens(part.connection, part.loaded.services);
    // A specimen no examination is taken from yet.
    if (part.extraRow)
        insertRows(part.connection, QStringLiteral("BUILD_FILE..tbcoLabSpecimen"),
                   QStringLiteral("SpecimenID, Specimen, isActive"),
                   {{str(QStringLiteral("SWB")), str(QStringLiteral("SWAB")),
                     flag(part.random.chance(80))}});
}

} // namespace chemodesk::hospital::demo
