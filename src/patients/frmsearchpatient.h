#pragma once

// The department's working patient list, shown modeless inside the main
// window. Choosing a row puts the patient into the main window's panel and
// into the datasheet context.
//
// Indexed controls (optPatientType, txtSearch, Label7) share one objectName;
// their dynamic property "index" tells them apart.

#include "platform/mainpanel.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace chemodesk {
class Connection;
}

namespace chemodesk::patients {

class LinkLabel;

class frmSearchPatient : public QWidget {
    Q_OBJECT
public:
    // `panel`: the main window's, which shows the chosen patient (may be null).
    frmSearchPatient(Connection &connection, platform::MainPanel *panel, QWidget *parent = nullptr);
    ~frmSearchPatient() override;

    // The signed-in employee, whose rights row the receivable entry reads.
    void setEmployeeCode(const QString &employeeCode) { employeeCode_ = employeeCode; }
    // The datasheet shortcuts stay disabled until something opens the datasheet.
    void setDatasheetAvailable(bool available);
    // Receivable entry stays disabled until the receivable list exists: without
    // it the mode would start with nothing to end it.
    void setReceivableEntryAvailable(bool available);

    // A walk-in cash patient (see patientlist.h). Raises DatabaseError.
    bool CheckCash(const QString &IdNum);

    // The billing date of the patient last chosen from this list, which is the
    // patient in the main window's panel; empty when none was chosen.
    QString selectedBillingDate() const { return chosenBillingDate_; }
    // The class of the rows on show: "I", "C" (walk-in cash) or "O".
    QString listedClass() const { return listedClass_; }

    // Fills the list for the checked option: `previous` asks for the previous
    // registrations (the search button with the box ticked), else the current
    // ones. Refusals and database errors are shown, never raised.
    void listPatients(bool previous);
    // The search button: refuses a previous-registration search without text.
    void search();
    // Puts the current row into the main window's panel.
    void chooseCurrentPatient();
    // Switches the main window into receivable entry, when the employee may and
    // the receivable list exists.
    void receivableEntry();

    QRadioButton *optPatientType[3] = {};
    QCheckBox *chkPrevious = nullptr;
    QLabel *lblSearch[3] = {};
    QLineEdit *txtSearch[3] = {};
    QPushButton *vkCommand1 = nullptr;
    QTreeWidget *ListView1 = nullptr;
    // Shown under the list when more patients match than it holds.
    QLabel *lblMoreMatch = nullptr;
    LinkLabel *Label7[3] = {};
    LinkLabel *lblProcedures = nullptr;
    LinkLabel *lblReceivableEntry = nullptr;
    LinkLabel *lblEdit = nullptr;

Q_SIGNALS:
    // The list has closed; the main window puts its buttons back by rights.
    void unloaded();
    // Receivable entry was granted; the receivable list should open.
    void receivableEntryRequested();
    // Open the datasheet on `tab`; `resultCategory` is "XR" for the results.
    void datasheetRequested(int tab, const QString &resultCategory);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int checkedOption() const;
    void choose(QTreeWidgetItem *item);
    void sortByColumn(int column);
    void unload(bool touchMainWindow);

    Connection &connection_;
    platform::MainPanel *panel_ = nullptr;
    QString employeeCode_;
    QString chosenBillingDate_;
    QString listedClass_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    bool unloaded_ = false;
};

} // namespace chemodesk::patients
