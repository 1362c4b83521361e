#pragma once

// The earlier pharmacy ("PH") or central supply ("CS") requests of the
// selected patient, newest first, and the reprint of the chosen one's request
// form (Reports/PHCSRequestForm.rpt). The pharmacy and supply request screens
// open it with their request type and caption:
//
//     requests::openReprintRequestForm(connection, hospNum, QStringLiteral("PH"),
//                                      QStringLiteral("Reprint Pharmacy Request Form"), parent);
//
// The list is read with "HemoDialysis..spHemo_LoadPHCSRequest '<patient>','<type>'",
// whose first value keeps the requests of one patient (an empty one lists
// every patient's); the screens pass the hospital number of the patient on
// show in the main window, so the list holds only that patient's requests.

#include "reports/reportprocs.h"

#include <QDialog>
#include <QString>
#include <QVariantList>

#include <functional>

class QPushButton;
class QTableWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {
class MainPanel;
}

namespace chemodesk::requests {

// What the reprint hands the report procedures.
using RequestFormPrint = reports::Printout;

// The request form of `requestNum`: its number, the admission number, the
// hospital's name and address.
RequestFormPrint requestFormPrint(const QString &requestNum, const QString &idNum);

class frmReprintRequestForm : public QDialog {
    Q_OBJECT
public:
    using Printer = std::function<void(const RequestFormPrint &print, QWidget *parent)>;

    // `patient`: the first value of the list's call (the hospital number of
    // the patient on show); the list is read at once.
    frmReprintRequestForm(Connection &connection, const QString &requestType,
                          const QString &caption, const QString &patient,
                          QWidget *parent = nullptr);

    QString RequestType() const { return requestType_; }

    // Reads the list again; cmdRePrint is enabled only when it has rows.
    void LoadRequests();
    // cmdRePrint: the form of the current row's request.
    void rePrint();
    // How the form is printed; the report viewer unless replaced (tests).
    void setPrinter(Printer printer) { printer_ = std::move(printer); }

    QTableWidget *MSHFlexGrid1 = nullptr;
    QPushButton *cmdRePrint = nullptr;
    QPushButton *vkcmdClose = nullptr;

private:
    Connection &connection_;
    QString requestType_;
    QString patient_;
    Printer printer_;
};

// The reprint dialog for the patient of hospital number `hospNum`, shown modally. Also
// registered as "frmReprintRequestForm" (pharmacy requests).
void openReprintRequestForm(Connection &connection, const QString &hospNum,
                            const QString &requestType, const QString &caption,
                            QWidget *parent = nullptr);

} // namespace chemodesk::requests
