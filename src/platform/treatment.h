#pragma once

// The department's treatment component. This program uses it for three
// things: it holds the header of a package while the package is built and
// saved, it checks and lists package codes, and it keeps the datasheet's
// summary of medicines. It lies outside this program.

#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {

class Treatment {
public:
    virtual ~Treatment() = default;

    // Handed over at start.
    virtual void setSQLConnection(Connection *connection) = 0;

    // Package header: type "1" HMO or "0" non-HMO, name, and the amount as
    // formatted "0.00".
    virtual QString PackageType() const = 0;
    virtual void setPackageType(const QString &type) = 0;
    virtual QString PackageName() const = 0;
    virtual void setPackageName(const QString &name) = 0;
    virtual QString PackageAmount() const = 0;
    virtual void setPackageAmount(const QString &amount) = 0;

    // True when a package with this code is already stored.
    virtual bool PackageCodeExists(const QString &code) = 0;
    // Shows the list of stored package codes.
    virtual void ShowPackageCodes() = 0;

    // The datasheet's admission number.
    virtual QString Patient() const = 0;
    virtual void setPatient(const QString &admissionNumber) = 0;
    // True once the patient's summary of medicines has been saved, so that
    // the saved one is shown rather than the list of drugs given.
    virtual bool SummaryMedsSaved() const = 0;
    // Number of rows in the patient's summary of medicines.
    virtual int SummaryMedsCount() const = 0;
    // Saves one row of the summary of medicines.
    virtual void SaveSummaryMeds(const QString &admissionNumber, const QString &dateOrdered,
                                 const QString &drugName, const QString &dosage,
                                 const QString &frequency, const QString &drugDate,
                                 const QString &rowNumber) = 0;
};

} // namespace chemodesk::platform
