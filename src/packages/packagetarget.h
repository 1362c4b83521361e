#pragma once

// How a package reaches a caller's grid. The charge screen, the assessment
// entry and the package builder each keep their own grid layout; they hand
// the package code a small adapter instead of the grid, and the package code
// never learns their columns.

#include <QString>

#include <vector>

namespace chemodesk::packages {

// A package as the lists and the package table name it.
struct PackageInfo {
    QString code;
    QString name;
    QString type;   // "1" HMO, "0" NON - HMO
    QString amount; // the package's own price (HMO packages)
};

// One item of a package as it goes into a grid.
struct PackageItem {
    QString revenue; // department (revenue) code
    QString item;
    QString description;
    QString quantity;
    QString amount;
    QString location; // "199" for "KM", "200" for "KU", else empty
};

// A grid that receives package items (the charge grid, the assessment grid,
// the grid of items not taken).
class PackageTarget {
public:
    virtual ~PackageTarget() = default;
    // A new line at the end of the grid in the caller's own layout; the
    // caller's working columns of the line are left empty.
    virtual void appendPackageItem(const PackageInfo &package, const PackageItem &item) = 0;
    // True when the grid already holds a package (the assessment takes one).
    virtual bool holdsPackage() const { return false; }
    // The items are in: the caller re-totals and places its cursor.
    virtual void packageApplied(const PackageInfo &) {}
};

// A line of the package builder's grid.
struct BuildRow {
    QString department; // column 1
    QString code;       // column 2
    QString particular; // column 3
    QString quantity;   // column 5
    QString amount;     // column 6
};

// The package builder's edit grid and header, as the package model reads and
// fills them.
class BuildGrid {
public:
    virtual ~BuildGrid() = default;
    virtual std::vector<BuildRow> buildRows() const = 0;
    virtual void clearBuildRows() = 0;
    virtual void appendBuildRow(const BuildRow &row) = 0;
    // "1" selects the HMO option, "0" NON - HMO.
    virtual void setBuildHeader(const QString &type, const QString &name,
                                const QString &amount) = 0;
};

// The header of the package being built or edited (type, name, amount as
// "0.00"): the builder sets it, the saves read it back.
struct PackageHeader {
    QString PackageType;
    QString PackageName;
    QString PackageAmount;
};

// The location a package item of `revenue` is issued from.
QString packageItemLocation(const QString &revenue);

} // namespace chemodesk::packages
