#pragma once

// Program-wide values: the hospital and department settings read at start,
// the server clock, the selected-patient context that each main-window action
// hands to the screen it opens, and the result of the last access-code check.
// Screens read them right after the main window or a dialog has set them.

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

    // Selected-patient context.
    QString SelPatientClass;
    QString SelIdNum;
    QString SelHospNum;
    QString SelRoomClassID;
    QString DatasheetIdNum;
    QString DatasheetHospNum;
    bool OpenedFromMain = false;
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
