#pragma once

// The hospital system's code search component: pick lists of services,
// examinations, doctors, dosages, towns and civil statuses. A typed text is
// looked up in one list; when it is not an exact code (and SearchMode is on)
// the component shows its pick list. The row found or chosen is then read by
// column name from the record of that list, e.g. DosageRecord("Frequency").
// It lies outside this program.

#include "platform/connection.h"

#include <QString>

namespace chemodesk::platform {

// Which list SearchListing looks in. Only the dosage number is fixed by the
// component; each other kind names the record its row is read from.
enum class ListKind {
    OtherRevenue = 1, // OtherRevenueRecord: services of OtherSectionID
    Doctor,           // DoctorRecord
    LABExam,          // LABExamRecord
    XRayExam,         // XRayExamRecord
    CTExam,           // CTExamRecord
    UltraSound,       // UltraSoundRecord
    AudioExam,        // AudioExamRecord
    NuclearExam,      // NuclearExamRecord
    HSExam,           // HSExamRecord
    PTExam,           // PTExamRecord
    RTSExam,          // RTSExamRecord
    Address,          // AddressRecord
    CivilStatus,      // CivilStatusRecord
    Dosage = 16,      // DosageRecord
};

class CodeSearch {
public:
    virtual ~CodeSearch() = default;

    // Set-up at start.
    virtual void setMTS_Server(const QString &server) = 0;
    virtual void Initialize_Classes() = 0;
    virtual void setConnection(Connection *connection) = 0;
    virtual void setCompanyName(const QString &companyName) = 0;

    // True lets the component show its pick list for a text that is not an
    // exact code.
    virtual bool SearchMode() const = 0;
    virtual void setSearchMode(bool on) = 0;

    // The department whose services the OtherRevenue list holds.
    virtual QString OtherSectionID() const = 0;
    virtual void setOtherSectionID(const QString &sectionId) = 0;

    // True when a row was found or chosen; false when nothing was found or
    // the pick list was cancelled.
    virtual bool SearchListing(const QString &text, ListKind kind) = 0;

    // The row of the last successful SearchListing of each kind, by column.
    // ResultCode, LastName, FirstName, MiddleName
    virtual Field DoctorRecord(const QString &column) const = 0;
    // ResultCode, OtherRevenue, Fixrate, RateA..RateE, RateG, RateH, RateI
    virtual Field OtherRevenueRecord(const QString &column) const = 0;
    // ResultCode, Frequency
    virtual Field DosageRecord(const QString &column) const = 0;
    // Town, Province
    virtual Field AddressRecord(const QString &column) const = 0;
    // CivilStatus
    virtual Field CivilStatusRecord(const QString &column) const = 0;
    // Examinations: ResultCode, the name column of the record (LabExam and
    // LabSectionID, XrayExam, ctExam, Ultraexam, AudioExam, nuclearExam,
    // hsExam, PTExam, RtsExam) and the rates RateA, RateG.
    virtual Field LABExamRecord(const QString &column) const = 0;
    virtual Field XRayExamRecord(const QString &column) const = 0;
    virtual Field CTExamRecord(const QString &column) const = 0;
    virtual Field UltraSoundRecord(const QString &column) const = 0;
    virtual Field AudioExamRecord(const QString &column) const = 0;
    virtual Field NuclearExamRecord(const QString &column) const = 0;
    virtual Field HSExamRecord(const QString &column) const = 0;
    virtual Field PTExamRecord(const QString &column) const = 0;
    virtual Field RTSExamRecord(const QString &column) const = 0;
};

} // namespace chemodesk::platform
