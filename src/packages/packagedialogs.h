#pragma once

// The package dialogs: picking a package from the hospital's package list and
// putting the items chosen into the caller's grid (frmOPDPackage from the
// cash assessment and the out-patient charge screen, frmListPackage from the
// charge screen for admitted patients), and listing the charges posted under
// a package already applied (frmListPackageCharges).
//
// The caller hands over adapters of its grids (packagetarget.h); the dialog
// appends the items marked "1" (taken) to SourceGrid, and frmOPDPackage those
// marked "2" (not taken) to PackageGrid, then closes.

#include "packagetarget.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTableWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::packages {

// The package a pick dialog applied: the cash assessment's save sends its code
// as its last argument.
struct AppliedPackage {
    bool applied = false;
    QString code;
};

// Columns of mshflexPackageItems.
enum PackageItemColumn {
    itemPicture = 1, // the check picture of the mark
    itemCode = 2,
    itemRevenue = 3,
    itemDescription = 4,
    itemQty = 5,
    itemAmt = 6,
    itemLocation = 7,
    itemMarkColumn = 8, // "1" taken, "2" not taken
    itemColumnCount = 9
};

// What both pick dialogs share.
class PackagePick : public QDialog {
    Q_OBJECT
public:
    PackageTarget *SourceGrid() const { return sourceGrid_; }
    void setSourceGrid(PackageTarget *grid) { sourceGrid_ = grid; }
    PackageTarget *PackageGrid() const { return packageGrid_; }
    void setPackageGrid(PackageTarget *grid) { packageGrid_ = grid; }

    // A click on a package of the list: its gross total and items.
    void choosePackage(int row);
    // A click on an item: taken <-> not taken.
    void toggleItem(int row);
    // cmdOption(1).
    void apply();
    // The mark of an item row ("1" / "2").
    QString itemMark(int row) const;
    // The legend of the marks, as imgLegend shows it.
    static QString legendText();
    // What this dialog applied; only the out-patient list marks it.
    AppliedPackage applied() const { return applied_; }

    QLabel *lblInfo = nullptr;
    QTableWidget *mshflexPackage = nullptr;
    QTableWidget *mshflexPackageItems = nullptr;
    QLabel *imgLegend = nullptr;
    // 0 closes, 1 applies the selection.
    QPushButton *cmdOption[2] = {};

protected:
    // `itemsText` makes the item procedure's text of a package code.
    PackagePick(Connection &connection, const char *name, const QString &caption, QWidget *parent);
    void loadPackages();
    virtual QString itemsText(const QString &code) const = 0;
    // frmOPDPackage remembers the package applied and sends the items not taken.
    virtual void onApply(const PackageInfo &) {}
    virtual bool sendsItemsNotTaken() const { return false; }

    Connection &connection_;

private:
    void setMark(int row, const QString &mark);

    PackageTarget *sourceGrid_ = nullptr;
    PackageTarget *packageGrid_ = nullptr;
    PackageInfo chosen_;

protected:
    AppliedPackage applied_;
};

class frmOPDPackage : public PackagePick {
    Q_OBJECT
public:
    explicit frmOPDPackage(Connection &connection, QWidget *parent = nullptr);
    // "Assessment" from the cash assessment entry, "Post Charges" from the
    // charge screen.
    QString ChargesType() const { return chargesType_; }
    void setChargesType(const QString &type) { chargesType_ = type; }

protected:
    QString itemsText(const QString &code) const override;
    void onApply(const PackageInfo &package) override;
    bool sendsItemsNotTaken() const override { return true; }

private:
    QString chargesType_;
};

class frmListPackage : public PackagePick {
    Q_OBJECT
public:
    explicit frmListPackage(Connection &connection, QWidget *parent = nullptr);

protected:
    QString itemsText(const QString &code) const override;
};

// The charges posted under one package on one slip.
class frmListPackageCharges : public QDialog {
    Q_OBJECT
public:
    explicit frmListPackageCharges(Connection &connection, QWidget *parent = nullptr);
    void setRefNum(const QString &value) { refNum_ = value; }
    void setIdNum(const QString &value) { idNum_ = value; }
    void setPackageCode(const QString &value) { packageCode_ = value; }
    void setPackageName(const QString &value) { packageName_ = value; }
    // What Form_Load does: the caption, the reference number and the charges.
    void load();

    QLabel *lblCaption = nullptr;
    QLabel *lblRefNum = nullptr;
    QTableWidget *grdExams = nullptr;
    QPushButton *cmdClose = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Connection &connection_;
    QString refNum_, idNum_, packageCode_, packageName_;
    bool loaded_ = false;
};

} // namespace chemodesk::packages
