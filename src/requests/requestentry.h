#pragma once

// The request entry screen shared by the pharmacy request (frmPHEntry) and the
// central supply request (frmCSREntry): items typed into the entry grid by
// code or by the first letters of their name, priced, checked against the
// stock of the requesting location, with a quantity and remarks; saved as
// one request in the department's log book after an employee confirms with
// the access code. What differs between the two is described by a
// RequestKind.
//
// The unit price is kept beside the Amount cell, so the amount is always the
// price times the quantity however often the quantity is entered.

#include "platform/mainpanel.h"
#include "platform/screencontext.h"
#include "requestsave.h"
#include "widgets/entrygrid.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {
class CodeSearch;
class DrugCatalogue;
class DrugList;
class KeyFilter;
} // namespace chemodesk::platform

namespace chemodesk::requests {

using RequestComponents = platform::ScreenComponents;

// The patient of the main window's panel.
struct RequestPatient {
    QString hospNum;
    QString idNum;
    QString inOut; // "I" for an admitted in-patient
    QString name;
    QString employeeCode; // the signed-in employee (older layout's save)
};

// The context's patient as the request screens take it.
RequestPatient requestPatientOf(const platform::ScreenContext &context);

// What one kind of request is.
struct RequestKind {
    QString screenName;
    QString caption;
    QString format; // the grid's format string
    int columns;
    QString location;        // stock location of its items
    bool dosage;             // a dosage per line (pharmacy)
    bool byGenericName;      // the Bygeneric pricing path may apply
    bool searchAtLocation;   // the catalogue and pick list look only at `location`
    bool suppliesList;       // the pick list lists supplies
    bool messageWhenNoPick;  // closing the pick list without a choice is told
    bool billingCheckFirst;  // the closed-bill check comes before the no-data check
    QString sameItemMessage; // a code already on another line
    QString saveButtonName;
    QString reprintButtonCaption;
    QString reprintType;
    QString reprintCaption;
    LogBookCall call;
    LogBookCall olderCall;
};

RequestKind pharmacyKind();
RequestKind centralSupplyKind();

// The pharmacy requests' reprint dialog, under the name no main-window control bears.
inline const QString ReprintScreen = QStringLiteral("frmReprintRequestForm");

// Grid columns, counted as the screens count them.
enum RequestColumn {
    colNumber = 0,
    colCode = 1,
    colDescription = 2,
    colDosage = 3,
    colQuantity = 4,
    colAmount = 5,
    colRemarks = 6,
    colReference = 7, // pharmacy only, hidden
};

class RequestEntry : public QDialog {
    Q_OBJECT
public:
    // `panel`: the main window's, through which the reprint dialog is opened
    // (may be null: no reprint).
    RequestEntry(RequestKind kind, Connection &connection, RequestComponents components,
                 RequestPatient patient, platform::MainPanel *panel = nullptr,
                 QWidget *parent = nullptr);
    ~RequestEntry() override;
    static RequestPatient patientOf(const platform::ScreenContext &context)
    {
        return requestPatientOf(context);
    }

    const RequestKind &kind() const { return kind_; }

    // ---- grid procedures (see widgets::EntryGrid) and the screen's own
    bool PutTextBox(int column, int line) { return mshflexEntry->PutTextBox(column, line); }
    bool ExcemptCol(int column) const { return mshflexEntry->ExcemptCol(column); }
    bool CompleteRow(int line) const;
    bool AddRow() { return mshflexEntry->AddRow(); }
    bool QualifiedRow(int line) const { return mshflexEntry->QualifiedRow(line); }
    bool Check_Code(const QString &code, int line) const
    {
        return mshflexEntry->Check_Code(code, line);
    }
    // The account number is not numeric: a company or HMO account.
    bool Check_IfHMO(const QString &IdNum);
    // The unit price kept for the line (0 when none).
    double unitPrice(int line) const;

    // ---- the buttons
    void saveRequest();      // vkCommand1 / vkcmdSave
    void saveOlderLayout();  // cmdMedOption(0)
    void closeOlderLayout(); // cmdMedOption(1)
    void deleteLine();       // vkcmdDelete, cmdMedOption(2), F3
    void reprint();          // cmdRePrint

    QLineEdit *txtHospNum = nullptr;
    QLineEdit *txtIDNum = nullptr;
    QLineEdit *txtPatInOut = nullptr;
    QLineEdit *txtPatientName = nullptr;
    widgets::EntryGrid *mshflexEntry = nullptr;
    QLineEdit *txtEntry = nullptr;
    QLabel *lblMessage = nullptr;
    QPushButton *cmdSave = nullptr; // vkCommand1 (pharmacy) or vkcmdSave (central supply)
    QPushButton *vkcmdDelete = nullptr;
    QPushButton *vkcmdClose = nullptr;
    QPushButton *cmdRePrint = nullptr;
    // The older layout's array: 0 "&Save", 1 closes, 2 "&Delete". Not shown.
    QPushButton *cmdMedOption[3] = {};

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildUi();
    void setUpGrid();

    widgets::EntryGrid::Enter onEnter(int line, int column, const QString &text);
    widgets::EntryGrid::Enter enterCode(int line, const QString &text);
    widgets::EntryGrid::Enter enterDosage(int line, const QString &text);
    widgets::EntryGrid::Enter enterQuantity(int line, const QString &text);
    widgets::EntryGrid::Enter enterRemarks(int line, const QString &text);
    QString attendingDoctor(const QString &idNum);
    void setUnitPrice(int line, double price);
    void setQuantity(int line, const QString &quantity);
    std::vector<RequestLine> gridLines() const;
    bool anyCompleteLine() const;
    // Sends the lines; true when saved. A failure is rolled back and told.
    bool send(const LogBookCall &call, const RequestHeader &header);

    RequestKind kind_;
    Connection &connection_;
    platform::CodeSearch &codeSearch_;
    platform::DrugCatalogue &drugs_;
    platform::DrugList &drugList_;
    platform::KeyFilter &keys_;
    RequestPatient patient_;
    platform::MainPanel *panel_ = nullptr;
    // The stock on hand of the current item at the kind's location.
    double stockOnHand_ = 0;
};

} // namespace chemodesk::requests
