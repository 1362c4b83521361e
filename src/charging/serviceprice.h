#pragma once

// The base price of a charge line: a service's rate by patient type, room
// class, intensive care, emergency room and HMO; the stat surcharge; and the
// in-patient price flag. The rules the assessments share (rate columns,
// selling prices, surcharges on a price) are in linepricing.h. Database
// errors reach the screen.

#include "linepricing.h"

#include <QString>

#include <optional>

namespace chemodesk {
class Connection;
}

namespace chemodesk::charging {

struct RateSettings;

// A price and the text the Unit Price cell shows for it.
struct ServicePrice {
    double value = 0.0;
    QString text;
};

// The admission's room belongs to an intensive-care station (ICU, NUR, PICU).
bool Check_IfICURate(Connection &connection, const QString &IdNum);
// The unit's intensive-care rate of a service; none when it is not on file.
std::optional<double> GetICURate(Connection &connection, const QString &item);
// The out-patient has a registration row (the ER rule's test).
bool Check_IfERRate(Connection &connection, const QString &IdNum);
// The unit's emergency-room rate of a service; none when it is not on file.
std::optional<double> GetERRate(Connection &connection, const QString &item);
// The registration's account is an HMO's (an account number with letters).
bool Check_IfHMO(Connection &connection, const QString &IdNum);
// The HMO rate of a service of `section`; none when it is not on file.
std::optional<double> GetHMORate(Connection &connection, const QString &section,
                                 const QString &item);
// The room class of an admission, "A" when it has none.
QString GetRoomClass(Connection &connection, const QString &IdNum);

// The price of a service for the patient: reloads `settings`, then chooses by
// the rules in force. The room-class rates are taken from `rates` (see
// classRate); the intensive-care, ER and HMO rates are read from file, as the
// hospital keeps them per unit and section. A special rate missing from file
// falls back to the room-class or regular rate, never to no price at all.
ServicePrice ServiceBasePrice(Connection &connection, RateSettings &settings,
                              const QString &patientClass, const QString &IdNum,
                              const QString &section, const QString &item,
                              const ServiceRates &rates);

// A stat line's price: `price` raised by the unit's stat percentage,
// formatted "######0.00".
QString StatPrice(Connection &connection, double price);

// The patient is priced from the in-patient list.
bool GetIPDPrice(Connection &connection, const QString &IdNum);

// Number formats of the price cells: "####.00" (no leading zero below one)
// and "######0.00".
QString formatRate(double value);
QString formatStat(double value);
// A rate as stored: no trailing zeros, no exponent.
QString formatStored(double value);

} // namespace chemodesk::charging
