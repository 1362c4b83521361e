#pragma once

// The package model: reading, writing and applying the stored packages of
// HEMODIALYSIS..tbhemopackage (one row per item, the package header repeated
// on each). Grids are reached through the adapters of packagetarget.h.
//
// Members in the order the other screens know them. Commands go through the
// connection given; the user recorded on a package row is always the
// signed-in employee.

#include "packagetarget.h"

#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::packages {

class clsBuildPack {
public:
    clsBuildPack(Connection &connection, QString employeeCode);

    QString PackCode() const { return packCode_; }
    void setPackCode(const QString &code) { packCode_ = code; }
    bool blnFound() const { return found_; }
    void setBlnFound(bool found) { found_ = found; }
    double dblRate() const { return rate_; }
    void setDblRate(double rate) { rate_ = rate; }
    QString strDescription() const { return description_; }
    void setStrDescription(const QString &text) { description_ = text; }
    QString strItemID() const { return itemId_; }
    void setStrItemID(const QString &id) { itemId_ = id; }

    // The command that stores one item row (returned, not run). `UserId` is
    // not used: the signed-in employee is recorded.
    QString spBuildPackage(const QString &RefNum, const QString &ItemID, const QString &RevenueID,
                           const QString &Quantity, const QString &Amount, const QString &UserId,
                           const QString &Description, const QString &PackageType,
                           const QString &PackageName, const QString &PackageAmount) const;
    // A package with this code is stored.
    bool CheckPackCode(const QString &strCode, bool blnMark = false);
    // The package's items as new lines of the charge grid.
    void LoadPackage(const QString &strCode, PackageTarget &grid);
    // The package's header and items into the builder's edit grid.
    void LoadBuildPackage(const QString &strCode, BuildGrid &grid);
    // The header the builder holds for the package being built, written with each row.
    const PackageHeader &packageHeader() const { return header_; }
    void setPackageHeader(const PackageHeader &header) { header_ = header; }

    // Write the builder grid's rows under `StrRefnum` with packageHeader():
    // the whole package or, on any failure, nothing. False
    // when a quantity is not a number (told) or a command failed (raised).
    bool SaveBuildPackage(const QString &StrRefnum, BuildGrid &grid);
    bool SaveADDPackage(const QString &StrRefnum, BuildGrid &grid);
    QString spUpdatePackage(const QString &RefNum, const QString &ItemID, const QString &RevenueID,
                            const QString &Quantity, const QString &Amount, const QString &UserId,
                            const QString &Description, const QString &OldCode,
                            const QString &PackageType, const QString &PackageName,
                            const QString &PackageAmount) const;
    bool SaveUpdatePackage(const QString &StrRefnum, BuildGrid &grid);
    // The package's items, marked as a package, into the assessment grid;
    // refused when the grid holds a package already. Sets blnCheckCode.
    void LoadAssessPackage(const QString &strCode, PackageTarget &grid);
    bool blnCheckCode() const { return checkCode_; }
    void setBlnCheckCode(bool value) { checkCode_ = value; }
    bool ValidateCode(const QString &strCode);
    // The department's stock location into LocationID ("" when unknown).
    bool GetLocationID(const QString &strRevenue);
    QString LocationID() const { return locationId_; }
    void setLocationID(const QString &id) { locationId_ = id; }

private:
    enum class SaveKind { Build, Add, Update };
    bool save(const QString &refNum, BuildGrid &grid, SaveKind kind);
    // Reads the rows of one package into `grid`; the package's header too.
    bool loadItems(const QString &text, PackageTarget &grid);

    Connection &connection_;
    QString employeeCode_;
    PackageHeader header_;
    QString packCode_;
    bool found_ = false;
    double rate_ = 0;
    QString description_;
    QString itemId_;
    bool checkCode_ = false;
    QString locationId_;
};

} // namespace chemodesk::packages
