#pragma once

// The registered-patient picker: out-patient registrations by last name or
// registration number, optionally only the current ones.

#include "platform/connection.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace chemodesk::patients {

class frmRegisteredOPD : public QDialog {
    Q_OBJECT
public:
    // `searchText` is what the caller could not match; the box starts with it.
    frmRegisteredOPD(Connection &connection, const QString &searchText, QWidget *parent = nullptr);

    // The listing text: current-only flag, search kind (0 last name,
    // 1 registration number), the trimmed text.
    static QString listText(bool currentOnly, int kind, const QString &text);

    // Fills the grid for the controls' present state.
    void listPatients();

    // The chosen registration number; Valid tells whether one was chosen.
    QString ResultCode;
    bool Valid = false;
    // The rows last listed.
    Recordset PatientRecord;
    // Kept for callers that tag the pick; not read here.
    QString PatientType;
    // The procedure the list is read from.
    const QString spOutpatient = QStringLiteral("BILLING..spGlobal_RegisteredOPD");

    QComboBox *cmbSearch = nullptr;
    QLineEdit *txtSearch = nullptr;
    QCheckBox *chkCurrent = nullptr;
    QTableWidget *grdTable = nullptr;
    QPushButton *cmdSelect = nullptr;
    QPushButton *cmdClose = nullptr;

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void selectRow();

    Connection &connection_;
    bool loaded_ = false;
};

} // namespace chemodesk::patients
