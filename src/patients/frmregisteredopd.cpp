#include "frmregisteredopd.h"

#include "widgets/pickergrid.h"

#include "database/sqltext.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace chemodesk::patients {

frmRegisteredOPD::frmRegisteredOPD(Connection &connection, const QString &searchText,
                                   QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmRegisteredOPD"));
    setWindowTitle(QStringLiteral("Registered Patients"));
    cmbSearch = new QComboBox(this);
    cmbSearch->setObjectName(QStringLiteral("cmbSearch"));
    cmbSearch->addItems({QStringLiteral("Last Name"), QStringLiteral("Admission #")});
    cmbSearch->setCurrentIndex(0);
    txtSearch = new QLineEdit(searchText, this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    chkCurrent = new QCheckBox(QStringLiteral("C&urrent Registrations Only"), this);
    chkCurrent->setObjectName(QStringLiteral("chkCurrent"));
    grdTable = widgets::makePickerGrid(this);
    grdTable->setObjectName(QStringLiteral("grdTable"));
    cmdSelect = new QPushButton(QStringLiteral("&Select"), this);
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdSelect->setEnabled(false);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdSelect->setAutoDefault(false);
    cmdClose->setAutoDefault(false);

    auto *search = new QHBoxLayout;
    search->addWidget(cmbSearch);
    search->addWidget(txtSearch, 1);
    search->addWidget(chkCurrent);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(grdTable, 1);
    layout->addLayout(buttons);
    resize(640, 400);

    connect(chkCurrent, &QCheckBox::clicked, this, &frmRegisteredOPD::listPatients);
    connect(grdTable, &QTableWidget::cellDoubleClicked, this, [this] { selectRow(); });
    connect(cmdSelect, &QPushButton::clicked, this, &frmRegisteredOPD::selectRow);
    connect(cmdClose, &QPushButton::clicked, this, &frmRegisteredOPD::reject);
    txtSearch->installEventFilter(this);
    grdTable->installEventFilter(this);
}

QString frmRegisteredOPD::listText(bool currentOnly, int kind, const QString &text)
{
    return QStringLiteral("BILLING..spGlobal_RegisteredOPD '") +
           (currentOnly ? QStringLiteral("1") : QStringLiteral("0")) + QStringLiteral("','") +
           QString::number(kind) + QStringLiteral("', '") + sql::escape(text.trimmed()) +
           QStringLiteral("'");
}

void frmRegisteredOPD::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (loaded_)
        return;
    loaded_ = true;
    listPatients();
    txtSearch->setFocus();
}

void frmRegisteredOPD::listPatients()
{
    PatientRecord = Recordset();
    grdTable->clearContents();
    grdTable->setRowCount(0);
    try {
        PatientRecord = connection_.Open(
            listText(chkCurrent->isChecked(), cmbSearch->currentIndex(), txtSearch->text()));
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
    const QStringList headers{QStringLiteral("Adm #"), QStringLiteral("Last Name"),
                              QStringLiteral("First Name"), QStringLiteral("Middle Name"),
                              QStringLiteral("Adm. Date")};
    grdTable->setColumnCount(int(headers.size()));
    grdTable->setHorizontalHeaderLabels(headers);
    grdTable->setRowCount(int(std::max<long>(PatientRecord.RecordCount(), 0)));
    int row = 0;
    for (PatientRecord.MoveFirst(); !PatientRecord.atEnd(); PatientRecord.MoveNext(), ++row) {
        const QString values[] = {
            PatientRecord.Fields(QStringLiteral("IdNum")).toString(),
            PatientRecord.Fields(QStringLiteral("LastName")).toString(),
            PatientRecord.Fields(QStringLiteral("FirstName")).toString(),
            PatientRecord.Fields(QStringLiteral("MiddleName")).toString(),
            PatientRecord.Fields(QStringLiteral("AdmDate"))
                .toDateTime()
                .toString(QStringLiteral("MM/dd/yyyy")),
        };
        for (int column = 0; column < int(std::size(values)); ++column)
            grdTable->setItem(row, column, new QTableWidgetItem(values[column]));
    }
    PatientRecord.MoveFirst();
    if (grdTable->rowCount() > 0)
        grdTable->setCurrentCell(0, 0);
    cmdSelect->setEnabled(grdTable->rowCount() > 0);
}

void frmRegisteredOPD::selectRow()
{
    if (!cmdSelect->isEnabled() || grdTable->currentRow() < 0)
        return;
    ResultCode = widgets::currentText(grdTable, 0);
    Valid = true;
    accept();
}

void frmRegisteredOPD::reject()
{
    Valid = false;
    QDialog::reject();
}

bool frmRegisteredOPD::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (watched == txtSearch && enter) {
            listPatients();
            return true;
        }
        if (watched == txtSearch && key == Qt::Key_Down) {
            grdTable->setFocus();
            return true;
        }
        if (watched == grdTable && enter) {
            selectRow();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace chemodesk::patients
