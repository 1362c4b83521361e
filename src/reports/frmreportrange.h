#pragma once

// The report-range screen: a start and an end date for the department's
// audit, monthly, census, transaction and adjustment reports (rangereports.h
// says which report each number and patient class prints). Enter views the
// report, Escape closes.

#include <QDialog>

class QDateEdit;
class QPushButton;

namespace chemodesk::reports {

class frmReportRange : public QDialog {
    Q_OBJECT
public:
    frmReportRange(int reportNumber, const QString &reportType, QWidget *parent = nullptr);

    int ReportNumber = 0;
    QString ReportType;
    // The patient of the period ledger (report type "D").
    QString HospNum;

    QDateEdit *dtpStartDate = nullptr;
    QDateEdit *dtpEndDate = nullptr;
    QPushButton *cmdView = nullptr;
    QPushButton *cmdClose = nullptr;

    // Checks the dates, prints the chosen report and closes; a report that
    // fails is shown as a message and the screen stays open.
    void View();
};

} // namespace chemodesk::reports
