#pragma once

// The hospital system's patient search component: admissions, rooms, the
// patient master, out-patient registrations, and the discharge and room
// transfer of an admission. It lies outside this program; screens rely only
// on what is declared here. A false result is a failed lookup or a refused
// action, never inspected further.

#include <QDateTime>
#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {

struct AddressInfo {
    QString HouseStreet;
    QString Barangay;
    QString Town;
    QString Province;
    QString CompleteAddress;
};

struct CivilStatusInfo {
    QString Description;
};

struct StationInfo {
    QString Description;
};

struct RoomInfo {
    QString RoomID;
    QString RoomClassID;
    StationInfo Station;
};

struct AccountInfo {
    QString AccountNumber;
    QString Company;
};

struct DoctorInfo {
    QString Code;
    QString LastName;
    QString FirstName;
    QString MiddleName;
};

struct PatientInfo {
    QString LastName;
    QString FirstName;
    QString MiddleName;
    QString Sex; // "M" or "F"
    CivilStatusInfo CivilStatus;
    QDateTime BirthDate;
    QString bloodtype;
    AddressInfo Address;
};

struct HistoryInfo {
    QString AdmittingDiagnosis;
    QString ChiefComplaint;
    QString AdmittingImpression;
    QString FinalDiagnosis;
    QString Procedures;
};

// The admission last found by PatientSearch::ValidateAdmission.
class Admission {
public:
    virtual ~Admission() = default;

    virtual QString IDNumber() const = 0;
    virtual QString HospitalNumber() const = 0;
    virtual const PatientInfo &Patient() const = 0;
    virtual const RoomInfo &Room() const = 0;
    virtual const AccountInfo &Account() const = 0;
    virtual const DoctorInfo &AttendingDoctor1() const = 0;
    virtual const DoctorInfo &AttendingDoctor2() const = 0;
    virtual QDateTime AdmissionDate() const = 0;
    // Null while the patient is admitted.
    virtual QDateTime dischargeDate() const = 0;
    // Null until billing has closed the account.
    virtual QDateTime BillingDate() const = 0;
    virtual const HistoryInfo &History() const = 0;
    virtual QString HowAdmitted() const = 0;
    // The laboratory may be charged to the account.
    virtual bool Okeylab() const = 0;

    // Reads the admission again (its billing date may have changed).
    virtual void Refresh() = 0;

    // Closes the admission. The codes are those of the discharge window
    // (results 1..5, disposition 1..6); `patientData` is what the window holds
    // of the patient. True on success.
    virtual bool DischargePatient(const QString &dischargeDateTime, int resultsCode,
                                  int dispositionCode, const QString &employeeCode,
                                  const QString &room, const QString &attendingDoctorCode,
                                  const QString &patientData) = 0;

    // Moves the patient; `transferDate` as "MM/DD/YYYY hh:nn AM/PM", `flag`
    // "0"; true on success.
    virtual bool RoomTransfer(const QString &newRoom, const QString &oldRoom,
                              const QString &oldStation, const QString &transferDate,
                              const QString &flag, const QString &employeeCode) = 0;
};

struct OPDHistoryInfo {
    QString ChiefComplaint;
    QString BloodPressure;
    QString Temperature;
    QString Weight;
};

struct OutPatientInfo {
    QString LastName;
    QString FirstName;
    QString MiddleName;
    QString Sex;
    QString CivilStatus;
    QDateTime BirthDate;
};

// An out-patient registration.
class OutPatient {
public:
    virtual ~OutPatient() = default;

    // True when the registration exists; the members below then describe it.
    virtual bool OpenOutPatient(const QString &registrationNumber) = 0;

    virtual QDateTime AdmissionDate() const = 0;
    virtual QDateTime dischargeDate() const = 0;
    virtual const OutPatientInfo &Patient() const = 0;
    virtual QString HowAdmitted() const = 0;
    virtual QString doctor1() const = 0;
    virtual QString doctor2() const = 0;
    virtual QString doctor3() const = 0;
    virtual const OPDHistoryInfo &OPDHistory() const = 0;
};

struct PatientMasterInfo {
    QString Allergy1;
    QString Allergy2;
    QString Allergy3;
    QString Allergy4;
    QString Allergy5;
    AddressInfo Address;
    QString AccountNumber;
};

class PatientSearch {
public:
    virtual ~PatientSearch() = default;

    // Adopts the program's connection; called once at start.
    virtual bool InitConnection(Connection &connection) = 0;

    // True when the admission exists; Admission() then describes it.
    virtual bool ValidateAdmission(const QString &admissionNumber) = 0;
    virtual platform::Admission &Admission() = 0;

    // True when the patient exists; PatientMaster() then describes it.
    virtual bool ValidatePatient(const QString &hospitalNumber) = 0;
    // Fills PatientMaster(); true when the patient was found.
    virtual bool LoadPatient(const QString &hospitalNumber) = 0;
    virtual const PatientMasterInfo &PatientMaster() const = 0;

    // True for a known room; Room() then gives its id and station.
    virtual bool ValidateRoom(const QString &room) = 0;
    virtual const RoomInfo &Room() const = 0;

    // The out-patient registrations ("PatientClass.clsOutPatient").
    virtual OutPatient &clsOutPatient() = 0;
};

} // namespace chemodesk::platform
