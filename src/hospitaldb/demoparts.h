#pragma once

// The demo data's parts, one file per subsystem (demo_*.cpp). Each part draws
// from a generator of its own, so that a row or a draw added to one moves
// nothing in another; what a later part refers to is handed on in Loaded.

#include "demodata.h"

#include <QDate>

#include <vector>

namespace chemodesk::hospital::demo {

// Everything is dated relative to this day, never to the clock.
inline const QDate Today(2026, 12, 1);

inline QDateTime at(const QDate &day, int hour, int minute)
{
    return QDateTime(day, QTime(hour, minute));
}

struct Room {
    QString id;
    QString roomClass;
    QString station;
};

struct Service {
    QString section;
    QString id;
    QString name;
    double rateA;
    bool fixed;
    QString labSection; // laboratory only
};

struct Item {
    QString id;
    QString name;
    QString location;
    double priceIn;
    double priceOut;
    double onHand; // after the demo's own issues
    bool inactive;
};

struct Registration {
    QString idNum;
    QString hospNum;
    bool inPatient;
    QString roomId;
    QString roomClass;
    QString account; // empty: Null
    QString doctor;
    QDateTime admitted;
    bool billed;
    bool discharged;
    QString name = {}; // "LAST, FIRST"
};

// What parts hand on to the parts loaded after them.
struct Loaded {
    std::vector<Room> rooms;
    std::vector<Service> services;
    std::vector<Item> items;
    std::vector<Registration> registrations;
};

struct Part {
    Connection &connection;
    Random random;
    Loaded &loaded;
    // One row more than usual, drawn from the part's generator (see DemoOptions).
    bool extraRow = false;
};

// "LAST, FIRST" of a demo doctor, empty for an unknown id.
QString doctorName(const QString &id);

void loadSession(Part &part);      // hospital information, settings, employees and rights
void loadWard(Part &part);         // stations and rooms
void loadPatients(Part &part);     // doctors, companies, patients and registrations
void loadPrices(Part &part);       // holidays, revenue codes, services, items
void loadCharges(Part &part);      // charge slips, requests, stock
void loadRequests(Part &part);     // dosage codes, pharmacy and central supply requests
void loadExaminations(Part &part); // x-ray examinations, laboratory specimens
void loadPackages(Part &part);     // charge packages, their stations' stock, a charged package
void loadAssessments(Part &part);  // cash assessments, open, paid and revoked

} // namespace chemodesk::hospital::demo
