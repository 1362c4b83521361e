#pragma once

// Saving a cash assessment without the screen: the checks that must pass,
// the texts each item is written and printed with, and the save itself. The
// number is drawn and every item written in one transaction, so a failure
// leaves neither a used number nor half an assessment, and two workstations
// never draw the same number.

#include "charging/chargeslipprint.h"
#include "widgets/messages.h"

#include <QString>

#include <optional>
#include <vector>

namespace chemodesk {
class Connection;
}

namespace chemodesk::assessment {

// One row of the entry grid.
struct AssessmentLine {
    QString dept;     // column 1
    QString code;     // column 2
    QString item;     // column 3, the particular
    QString price;    // column 4
    QString quantity; // column 5
    QString amount;   // column 6
    QString flag;     // column 12, sent with the row
};

// What every row is saved with besides itself.
struct AssessmentHeader {
    QString patientName; // "LAST, FIRST" as shown
    QString idNum;
    QString hospNum;
    QString doctorId;
    QString doctorName;
    QString employeeCode;
    QString remarks;
    QString packageCode; // the package applied, empty when none
};

struct Refusal {
    QString text;
    QString title;
    widgets::MessageService::Icon icon = widgets::MessageService::Exclamation;
};
void showRefusal(const Refusal &refusal);

// "OC" + counter.
QString assessmentNumber(qlonglong counter);
// A quantity or amount cell as a number; 0 when it is not one.
double cellNumber(const QString &text);

// The doctor is on file ("Select DoctorID from Build_File..tbCoDoctor ...").
bool doctorExists(Connection &connection, const QString &doctorId);

// The name, the doctor ("0" stands for none and passes) and a quantity on
// every row with a department, in that order.
std::optional<Refusal> checkAssessment(Connection &connection, const AssessmentHeader &header,
                                       const std::vector<AssessmentLine> &lines);

// The texts, in the order they are sent.
QString assessmentText(const QString &refNum, const AssessmentHeader &header,
                       const AssessmentLine &line);
QString remarksText(const QString &remarks, const QString &refNum);
QString globalDumpText(const AssessmentLine &line, const QString &employeeCode);
QString dumpText(const AssessmentLine &line);

// Draws the number and writes every row with a department and the remarks.
// Returns the reference number. A DatabaseError leaves nothing written.
QString saveAssessment(Connection &connection, const AssessmentHeader &header,
                       const std::vector<AssessmentLine> &lines);

// The slip's lines for the print tables, every row with a department.
void dumpSlip(Connection &connection, const std::vector<AssessmentLine> &lines,
              const QString &employeeCode);

// The assessment slip: title refNum + " Assessment Slip :", the admission
// number, the section mode ("HD" after a save, "ON" for a reprint), the
// hospital's name and address and the assessment whose rows are printed.
charging::SlipPrint assessmentSlipPrint(const QString &refNum, const QString &idNum,
                                        const QString &mode);

} // namespace chemodesk::assessment
