#pragma once

// Assessment Entry: the examinations, medicines and supplies a patient pays
// for in cash, typed into the entry grid (8 items at most), priced, and saved
// as one cash assessment under a new "OC" number for the cashier; printed as
// an assessment slip when asked. The rules that need no window are in
// assessmentrules.h (departments, rows, stat day, banner, prices),
// assessmentpackage.h (a package's items as rows) and assessmentsave.h.
//
// The hospital components it looks items up with and the package dialog are
// handed in, so a test may give it small stand-ins.

#include "assessmentrules.h"
#include "assessmentsave.h"
#include "charging/frmcharge.h"
#include "widgets/entrygrid.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace chemodesk::assessment {

// The grid's columns.
enum AssessColumn {
    colLine = 0,
    colDept = 1,
    colCode = 2,
    colParticular = 3,
    colPrice = 4,
    colQuantity = 5,
    colAmount = 6,
    colZeroPriced = 7, // "Y" when the item's rate is 0
    colBaseRate = 8,   // the rate before surcharges
    colStocked = 9,    // "Y" for medicines and supplies
    colMarkup = 10,    // "Y" when surcharges apply to the item
    colStat = 11,
    colFlag = 12,       // sent with the row: the issuing location of a stocked item
    colLabSection = 13, // the laboratory section of an examination
    assessColumnCount = 14,
};

constexpr int MaxItems = 8;

// The patient as the main window hands it over.
struct AssessmentPatient {
    QString idNum;
    QString hospNum;
    QString inOut; // "I" or "O"
    QString employeeCode;
};

// Opens the package dialog with the grid as its target and the charges type
// "Assessment"; returns the code of the package applied, empty when none was.
using PackageDialog =
    std::function<QString(widgets::EntryGrid &grid, const QString &chargesType, QWidget *parent)>;

// The package dialog of the hospital's package list (frmOPDPackage), its
// items put into the grid in this screen's layout.
PackageDialog opdPackageDialog(Connection &connection);

class frmAssessmentEntry : public QDialog {
    Q_OBJECT
public:
    frmAssessmentEntry(Connection &connection, charging::ChargeComponents components,
                       AssessmentPatient patient, QWidget *parent = nullptr);
    ~frmAssessmentEntry() override;
    static AssessmentPatient patientOf(const platform::ScreenContext &context);

    // The package dialog (none: the button stays disabled).
    void setPackageDialog(PackageDialog dialog);
    // How slips are printed; the report viewer unless replaced.
    void setSlipPrinter(charging::SlipPrinter printer) { printer_ = std::move(printer); }
    // The reference number of the last save.
    QString assessmentNumber() const { return assessmentNumber_; }
    QString packageCode() const { return packageCode_; }

    // The rows with a department, as they are saved.
    std::vector<AssessmentLine> gridLines() const;
    AssessmentHeader header() const;

    // The buttons' actions.
    void save(bool print);
    void deleteRow();
    void choosePackage();
    void chooseDoctor();
    void lookUpDoctor();
    // Every row priced again for the Stat box, and the total.
    void repriceAll();
    void recomputeTotal();
    void showDepartments();

    QLineEdit *txtIdnum = nullptr;
    QLineEdit *txtHospNum = nullptr;
    QLineEdit *txtSname = nullptr;
    QLineEdit *txtDoctorID = nullptr;
    QLineEdit *txtDoctor = nullptr;
    QPushButton *cmdDoctor = nullptr;
    QLineEdit *txtRemarks = nullptr;
    QCheckBox *chkStat = nullptr;
    QLineEdit *txtGross = nullptr;
    QGroupBox *fraExams = nullptr;
    widgets::EntryGrid *grdTable = nullptr;
    QLineEdit *txtEntry = nullptr;
    QLabel *lblRevenuecodes = nullptr;
    QTableWidget *grdRevenue = nullptr;
    QLabel *lblMessage = nullptr;
    QLabel *lblMessageRates = nullptr;
    QLabel *lblStatRate = nullptr;
    QLabel *lblAfterFivePmRate = nullptr;
    QLabel *lblWeekendRate = nullptr;
    QLabel *lblHolidayRate = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdSavePrint = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdPackage = nullptr;
    QPushButton *cmdExit = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void setUpGrid();
    void loadScreen();
    void loadStat();
    void loadRates();
    void loadDepartments();

    widgets::EntryGrid::Enter onEnter(int line, int column, const QString &text);
    widgets::EntryGrid::Enter enterDepartment(int line, const QString &text);
    widgets::EntryGrid::Enter enterCode(int line, const QString &text);
    widgets::EntryGrid::Enter enterExam(int line, const QString &text);
    widgets::EntryGrid::Enter enterMedicine(int line, const QString &text);
    widgets::EntryGrid::Enter enterSupply(int line, const QString &text);
    widgets::EntryGrid::Enter enterQuantity(int line, const QString &text);
    widgets::EntryGrid::Enter enterStat(int line, const QString &text);
    // The row of the medicine or supply the catalogue last found, at `price`.
    AssessmentRow stockedRow(int line, double price, const QString &location);
    // The exam's price now: surcharged when the settings say so, stat when checked.
    double examPrice(int line);
    void setPrice(int line, double price);
    void computeAmount(int line);

    Connection &connection_;
    platform::CodeSearch &codeSearch_;
    platform::DrugCatalogue &drugs_;
    platform::DrugList &drugList_;
    AssessmentPatient patient_;
    // The rate settings as read when the screen opened; its holiday answer and base price are
    // this screen's own.
    charging::RateSettings rates_;
    PackageDialog packageDialog_;
    charging::SlipPrinter printer_;
    QString assessmentNumber_;
    QString packageCode_;
    QString banner_;
};

} // namespace chemodesk::assessment
