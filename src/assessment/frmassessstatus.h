#pragma once

// Assessment Status: the department's cash assessments of patients found by
// last name, open, revoked or paid at the cashier; reprints a slip and
// revokes an assessment the cashier has not processed yet.

#include "charging/chargeslipprint.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace chemodesk {
class Connection;
class Recordset;
} // namespace chemodesk

namespace chemodesk::assessment {

// The grid's columns the screen reads (column 0 is the grid's own).
enum StatusColumn {
    colKey = 1,    // first revocation value
    colRefNum = 5, // the "OC" number
    colStatus = 7, // "REVOKED", "OR..." once paid, anything else while open
    colRevokeArg = 8,
    colSlipValue = 9,
};

class frmAssessStatus : public QDialog {
    Q_OBJECT
public:
    explicit frmAssessStatus(Connection &connection, QWidget *parent = nullptr);
    ~frmAssessStatus() override;

    void setSlipPrinter(charging::SlipPrinter printer) { printer_ = std::move(printer); }

    // Lists the assessments for the search text and the Show Previous box.
    void listAssessments();
    void showPreviousClicked();
    void revoke();
    void rowChosen();
    void print();
    // The trimmed text of the current row's column; empty without a row.
    QString cell(int column) const;
    // The status last checked, kept while the revocation runs.
    QString status() const { return status_; }

    QLineEdit *txtEntry = nullptr;
    QCheckBox *chkShowPrevious = nullptr;
    QTableWidget *grdTable = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdRevoke = nullptr;
    QPushButton *cmdClose = nullptr;
    QLabel *imgBusy = nullptr;
    QTimer *Timer1 = nullptr;

public Q_SLOTS:
    // Close, Escape and the close box ask first.
    void reject() override;

private:
    void fill(Recordset &rs);
    // The revoked and paid refusals; false when one was shown.
    bool statusAllows();
    void confirmRevoke();

    Connection &connection_;
    charging::SlipPrinter printer_;
    QString status_;
    int frame_ = 0;
};

} // namespace chemodesk::assessment
