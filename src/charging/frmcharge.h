#pragma once

// Post Charges: the lines of medicines, supplies, services, professional fees
// and discounts charged to the patient chosen in the main window, typed into
// the entry grid, looked up, priced and checked against the stock on hand;
// beside it the department codes, and below it the charges already saved for
// the admission. The lines are saved under a charge slip (frmcharge_save.cpp,
// the rules in chargesave.h), whose print can be repeated and whose lines can
// be cancelled.
//
// The hospital components it looks items up with are handed in, so a test
// may give it small stand-ins.

#include "chargeslipprint.h"
#include "platform/mainpanel.h"
#include "platform/screencontext.h"
#include "pricerules.h"
#include "widgets/entrygrid.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QStatusBar;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {
class CodeSearch;
class DrugCatalogue;
class DrugList;
class KeyFilter;
} // namespace chemodesk::platform

namespace chemodesk::charging {

struct ChargeLine;
struct SavedCharge;
struct SlipHeader;

using ChargeComponents = platform::ScreenComponents;

// The patient the main window's context names.
struct ChargePatient {
    QString name;
    QString hospNum;
    QString idNum;
    QString room; // "OPD" for out-patients; an admission's room is read
    QString employeeCode;
    QString inOut; // "I" for an admitted in-patient, "O" otherwise
};

// The context's patient as the charge screen takes it.
ChargePatient chargePatientOf(const platform::ScreenContext &context);

class frmCharge : public QDialog {
    Q_OBJECT
public:
    // `panel`: the main window's, whose actions receivable entry narrows
    // (may be null).
    frmCharge(Connection &connection, ChargeComponents components, ChargePatient patient,
              platform::MainPanel *panel = nullptr, QWidget *parent = nullptr);
    ~frmCharge() override;
    static ChargePatient patientOf(const platform::ScreenContext &context)
    {
        return chargePatientOf(context);
    }

    // ---- grid procedures (see widgets::EntryGrid) and the screen's own
    bool PutTextBox(int column, int line) { return mshflexEntry->PutTextBox(column, line); }
    // The same with the short prompt for the department column.
    bool PutTextBoxReturn(int column, int line);
    bool PutTextBox1(int column, int line) { return PutTextBoxReturn(column, line); }
    bool ExcemptCol(int column) const { return mshflexEntry->ExcemptCol(column); }
    bool CompleteRow(int line) const { return mshflexEntry->CompleteRow(line); }
    bool AddRow() { return mshflexEntry->AddRow(); }
    void DeleteRow() { mshflexEntry->DeleteRow(); }
    bool QualifiedRow(int line) const { return mshflexEntry->QualifiedRow(line); }
    bool Check_Code(const QString &code, int line) const
    {
        return mshflexEntry->Check_Code(code, line);
    }
    // The code is in the department list.
    bool CheckDepartment(const QString &code) const;
    // The department issues stock: its location becomes the current one.
    bool Check_LocationID(const QString &code);
    void Get_Charges();
    void LoadColor();
    QString PackageName() const { return packageName_; }
    void setPackageName(const QString &name) { packageName_ = name; }
    // "Cancer Package": the package list, whose chosen items join the grid
    // (the out-patient list for out-patients).
    void openPackageList();
    // The package line of the grid's `line`: the package it came from.
    QString packageOf(int line) const;

    // Grand total of the Amount column.
    void recomputeTotal();
    // The buttons' actions.
    void clearLines();
    void deleteLine();
    void listCharges();
    void showSlipTotal(int listRow);
    void searchDoctor();
    void chooseDoctor();
    void repriceStockedLines();
    bool cancelChargesAllowed() const { return cancelCharges_; }

    // &Save and &Print/Save: an employee confirms with the access code, the
    // checks pass, the lines are written under a new slip (and it is printed).
    void saveCharges(bool print);
    // Cancel Charges and Re-print ChargeSlip, on the selected saved line.
    void cancelCharge();
    void reprintChargeSlip();
    // The slip of the last save, for printing.
    QString lastChargeSlip() const { return lastChargeSlip_; }
    // How slips are printed; the report viewer unless replaced.
    void setSlipPrinter(SlipPrinter printer) { printer_ = std::move(printer); }

    QLineEdit *txtIdnum = nullptr;
    QLineEdit *txtHospNum = nullptr;
    QLineEdit *txtPxName = nullptr;
    QLineEdit *txtRoomid = nullptr;
    QLineEdit *txtDoctorID = nullptr;
    QLineEdit *txtDoctor = nullptr;
    QPushButton *cmdDoctor = nullptr;
    QLabel *fmSenior = nullptr;
    QCheckBox *chkDiscounted = nullptr;
    widgets::EntryGrid *mshflexEntry = nullptr;
    QLineEdit *txtEntry = nullptr;
    QGroupBox *fraMessage = nullptr;
    QLabel *lblMessage = nullptr;
    QGroupBox *fraDept = nullptr;
    QTableWidget *grdRevenue = nullptr;
    QPushButton *vkcmdHelpCode = nullptr;
    QLineEdit *txtTotal = nullptr;
    QGroupBox *fraList = nullptr;
    QTableWidget *MSHFlexList = nullptr;
    QLabel *txtMessage = nullptr;
    // The slip of the last save.
    QStatusBar *stbSaved = nullptr;
    QLineEdit *txtSlipTotal = nullptr;
    QPushButton *vkbtnHemoPckge = nullptr;
    QGroupBox *fraVisa = nullptr;
    QLineEdit *txtVisa = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    // 0 "&Save", 1 "&Clear", 2 "E&xit", 3 "&List of Charges Entered",
    // 4 "&Delete", 5 "&Print/Save"
    QPushButton *vkCommand1[6] = {};
    // 0 "Cancel Charges", 1 "Re-print ChargeSlip"
    QPushButton *vkcmdOption[2] = {};
    // The section label whose caption the saved line carries; left empty.
    QLabel *lblDeptCode = nullptr;

public Q_SLOTS:
    // E&xit, Escape and the window's close box ask first.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildUi();
    QWidget *buildPatientPanel();
    QWidget *buildButtons();
    void setUpGrid();
    void loadScreen();
    void loadPatient();
    void loadDepartments();
    void applyReceivableMode();

    // Enter in each column of the grid.
    widgets::EntryGrid::Enter onEnter(int line, int column, const QString &text);
    widgets::EntryGrid::Enter enterDepartment(int line, const QString &text);
    // A package code typed in the department column: its items from `line` on.
    void takePackage(int line, const QString &code);
    widgets::EntryGrid::Enter enterItem(int line, const QString &text);
    widgets::EntryGrid::Enter enterStockedItem(int line, const QString &text);
    widgets::EntryGrid::Enter enterDoctorItem(int line, const QString &text);
    widgets::EntryGrid::Enter enterDiscountItem(int line, const QString &text);
    widgets::EntryGrid::Enter enterService(int line, const QString &text);
    widgets::EntryGrid::Enter enterQuantity(int line, const QString &text);
    widgets::EntryGrid::Enter enterUnitPrice(int line, const QString &text);
    widgets::EntryGrid::Enter enterAmount(int line, const QString &text);
    widgets::EntryGrid::Enter enterStat(int line, const QString &text);
    double onHand(const QString &item, const QString &location);
    void computeAmount(int line);
    void setUnitPrice(int line, double price);

    void saveCardPercentage();
    void cancelCardPercentage();

    // Saving, cancelling, reprinting (frmcharge_save.cpp).
    bool confirmUser(bool reasonRequired);
    SlipHeader slipHeader() const;
    std::vector<ChargeLine> gridLines() const;
    bool selectedSavedCharge(SavedCharge &line);
    void refreshList();
    void printSlip(const QString &slip, const QString &caption);

    Connection &connection_;
    platform::CodeSearch &codeSearch_;
    platform::DrugCatalogue &drugs_;
    platform::DrugList &drugList_;
    platform::KeyFilter &keys_;
    ChargePatient patient_;
    // The program's rate settings as they were when the screen opened; the pricing's holiday
    // answer and base price are this screen's own.
    RateSettings rates_;
    platform::MainPanel *panel_ = nullptr;

    // Between keys: the current department, whether it carries stock and
    // where from, the in-patient price flag and the current service's Fixrate.
    QString department_;
    bool stocked_ = false;
    QString location_;
    QString stockcardRevenue_;
    bool ipdPrice_ = false;
    bool fixRate_ = false;
    QString packageName_;
    bool cancelCharges_ = false;
    QString lastChargeSlip_;
    SlipPrinter printer_;
};

} // namespace chemodesk::charging
