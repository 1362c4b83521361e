#pragma once

// Turns a typed registration number into the whole out-patient record. When
// the number does not name exactly one registration the user picks one from
// frmRegisteredOPD. Create one, call ValidatePatient, then read the values.

#include <QString>

class QWidget;

namespace chemodesk {
class Connection;
class Recordset;
} // namespace chemodesk

namespace chemodesk::patients {

class clsOutpatientSearch {
public:
    // `dialogParent` owns the picker window while it is shown.
    explicit clsOutpatientSearch(Connection &connection, QWidget *dialogParent = nullptr);

    // True when the values below have been filled. False (values untouched)
    // when the picker was closed without a choice. Raises DatabaseError.
    bool ValidatePatient(const QString &text);

    // The look-up text: not current-only, by registration number.
    static QString lookupText(const QString &text);

    const QString &IDNumber() const { return IDNumber_; }
    const QString &HospitalNumber() const { return HospitalNumber_; }
    const QString &LastName() const { return LastName_; }
    const QString &FirstName() const { return FirstName_; }
    const QString &MiddleName() const { return MiddleName_; }
    const QString &AccountNum() const { return AccountNum_; }
    const QString &Company() const { return Company_; }
    // "mm/dd/yyyy" and "hh:mmAM/PM"; discharge and billing empty when not set.
    const QString &AdmDate() const { return AdmDate_; }
    const QString &AdmTime() const { return AdmTime_; }
    const QString &DcrDate() const { return DcrDate_; }
    const QString &DcrTime() const { return DcrTime_; }
    const QString &BillingDate() const { return BillingDate_; }
    const QString &Sex() const { return Sex_; }
    const QString &BirthDate() const { return BirthDate_; }
    const QString &Age() const { return Age_; }
    const QString &HouseStreet() const { return HouseStreet_; }
    const QString &Barangay() const { return Barangay_; }
    const QString &Town() const { return Town_; }
    const QString &Province() const { return Province_; }
    // "1" when the registration left it empty.
    const QString &CivilStatus() const { return CivilStatus_; }

private:
    void fill(const Recordset &rs);

    Connection &connection_;
    QWidget *dialogParent_;
    QString IDNumber_, HospitalNumber_, LastName_, FirstName_, MiddleName_, AccountNum_, Company_,
        AdmDate_, AdmTime_, DcrDate_, DcrTime_, BillingDate_, Sex_, BirthDate_, Age_, HouseStreet_,
        Barangay_, Town_, Province_, CivilStatus_;
};

} // namespace chemodesk::patients
