#pragma once

// The examination order list of one section: laboratory ("LB"), x-ray ("XR")
// or ultrasound ("US"). The nurse types examination codes (or the first
// letters of a name) into the entry grid; each is priced at the rate of the
// patient's rate class, with quantity 1 and routine stat "N" preset, and may
// be given a quantity, a stat flag and remarks. An examination already in the
// grid, or already on the caller's orders list, is refused. The caller (the
// datasheet) opens it modally and, when it was accepted, reads orders() and
// posts them itself:
//
//     requests::frmRequest screen(connection, {codeSearch, keys}, "LB", "C",
//                                 codesAlreadyOrdered, parent);
//     if (widgets::execModal(screen) == QDialog::Accepted)
//         for (const requests::ExamOrder &order : screen.orders()) ...

#include "widgets/entrygrid.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {
class CodeSearch;
class KeyFilter;
} // namespace chemodesk::platform

namespace chemodesk::requests {

// One line of the list as the grid holds it.
struct ExamOrder {
    QString code;
    QString description;
    QString quantity;
    QString amount;  // "0.00": the class rate times the quantity
    QString section; // the laboratory section; empty for x-ray and ultrasound
    QString stat;    // "Y" stat, "N" routine
    QString remarks;

    bool operator==(const ExamOrder &) const = default;
};

struct ExamOrderComponents {
    platform::CodeSearch &codeSearch;
    platform::KeyFilter *keys = nullptr; // upper-cases typed letters; may be null
};

class frmRequest : public QDialog {
    Q_OBJECT
public:
    // The grid's columns.
    enum Column {
        colCode = 1,
        colDescription = 2,
        colQuantity = 3,
        colAmount = 4,
        colSection = 5,
        colStat = 6,
        colRemarks = 7,
    };

    // `department`: "LB", "XR" or "US". `rateClass`: "A" to "E", the rate
    // column the examinations are priced from (anything else prices at A).
    // `ordersList`: the codes already on the caller's orders list.
    frmRequest(Connection &connection, ExamOrderComponents components, const QString &department,
               const QString &rateClass, QStringList ordersList, QWidget *parent = nullptr);
    ~frmRequest() override;

    // The complete lines, in grid order.
    std::vector<ExamOrder> orders() const;
    QString department() const { return department_; }
    QString rateClass() const { return rateClass_; }

    // Delete (and F3): the current line after a question.
    void deleteLine();
    // OK: the lines go back to the caller.
    void acceptOrders();

    QLineEdit *txtDept = nullptr;
    widgets::EntryGrid *mshflexEntry = nullptr;
    QLineEdit *txtEntry = nullptr;
    QLabel *lblMessage = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    struct Exam {
        QString code;
        QString name;
        QString section;
        double rate = 0;
    };
    widgets::EntryGrid::Enter onEnter(int line, int column, const QString &text);
    widgets::EntryGrid::Enter enterCode(int line, const QString &text);
    widgets::EntryGrid::Enter enterQuantity(int line, const QString &text);
    // The examination of the list's section for a code or the first letters
    // of its name; false when none was found or chosen.
    bool lookUp(const QString &typed, Exam &exam);
    bool ultrasound(const QString &code, Exam &exam);
    void refuse(const QString &text, const QString &title);
    void setUnitRate(int line, double rate);
    double unitRate(int line) const;

    Connection &connection_;
    platform::CodeSearch &codeSearch_;
    QString department_;
    QString rateClass_;
    QStringList ordersList_;
};

} // namespace chemodesk::requests
