#pragma once

// Program-wide values: the hospital and department settings read at start,
// the server clock, the main window's modes, and the result of the last
// access-code check.

#include <QDateTime>
#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::session {

struct Globals {
    // The borrowed connection of the signed-in user; never owned here.
    Connection *DbConnection = nullptr;

    // The server's clock; every date and time a screen shows or sends.
    QDateTime ServerDate;

    // Department constants.
    QString DepartmentCode;
    QString DepartmentName;
    QString PasswordDeptCode;
    QString RefNumCode;
    QString StationCode;
    QString StationName;

    // Hospital information.
    QString HospitalName;
    QString ClientName;
    QString HospitalAddress;
    bool SeniorGetsIpdPrice = false;
    bool DrugListByGeneric = false;
    // Kept as the text the server returns; read it through allowZeroOnHand().
    QString AllowZeroOnHand;
    QString HospitalPhone;

    // Department settings.
    QString HemoPackageId;
    QString ShowPackagedetail;
    bool EnableAssessment = false;
    bool AllowEditAmount = false;
    bool IsAllowAssessmentRateG = false;
    bool AllowRegisterPatient = false;
    bool AllowPrintRequestForm = false;

    // The main window's modes. The selected patient is not here: each screen is
    // given it when it opens (platform/screencontext.h).
    bool ReceivableMode = false;
    bool PatientListLoaded = false;

    // Last access-code validation; ValidatedUserId is empty when it failed.
    QString ValidatedUserId;
    QString ValidatedUserName;
    QString ValidationReason;
    bool ReasonRequired = false;

    // AllowZeroOnHand as a flag: "true" in any case or a non-zero number.
    bool allowZeroOnHand() const;
};

// The one instance.
Globals &globals();

// Back to the values before start-up (empty texts, false, no connection).
void resetGlobals();

} // namespace chemodesk::session
