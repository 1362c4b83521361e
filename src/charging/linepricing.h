#pragma once

// The price of one entry line, shared by the screens that price lines (the
// charge entry and the assessments): which rate column of a service a
// patient is priced from, which selling price of a medicine or supply, and
// the calendar and stat surcharges laid on a base price. Inputs are plain
// values; only the surcharges read the server, through the connection given.

#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::charging {

struct RateSettings;

// The rates of a chosen service or examination, as the code search hands
// them over: RateA to RateE by room class, RateH for HMOs, RateI for the
// emergency room, RateG the assessment's alternative.
struct ServiceRates {
    double RateA = 0.0;
    double RateB = 0.0;
    double RateC = 0.0;
    double RateD = 0.0;
    double RateE = 0.0;
    double RateH = 0.0;
    double RateI = 0.0;
    double RateG = 0.0;
};

// The rate of room class "A" to "E" (as stored: upper case); any other class
// is priced at RateA.
double classRate(const ServiceRates &rates, const QString &roomClass);

// An examination in a cash assessment: RateG when the department prices
// assessments from it, RateA otherwise.
double assessmentRate(const ServiceRates &rates, bool rateG);

// The selling price for a patient type: out-patients ("O") pay the
// out-patient price, everyone else the in-patient one.
double patientSellingPrice(const QString &patientType, double sellingPriceIn,
                           double sellingPriceOut);

// The selling price a charge line takes: the discounted (out-patient) price
// when asked, else the list the in-patient flag selects.
double MedicinePrice(bool ipdPrice, bool discounted, double sellingPriceIn, double sellingPriceOut);

// `base` raised by the surcharge of the calendar in force when `markup`
// (through settings.BasePrice, which is left set), then by the stat
// percentage when `stat`; the stat step rounds to cents, as its price is
// shown.
double surchargedPrice(Connection &connection, RateSettings &settings, double base, bool markup,
                       bool stat);

} // namespace chemodesk::charging
