#include "frmspecimenentry.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "widgets/dialogparts.h"
#include "widgets/messages.h"
#include "widgets/pickergrid.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace chemodesk::requests {

namespace {

constexpr int colCode = 0;
constexpr int colSpecimen = 1;

} // namespace

frmSpecimenEntry::frmSpecimenEntry(Connection &connection, QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmSpecimenEntry"));
    setWindowTitle(QStringLiteral("Specimen"));

    txtSpecimen = new QLineEdit(this);
    txtSpecimen->setObjectName(QStringLiteral("txtSpecimen"));
    txtSpecimen->setMaxLength(60);
    cmdSearch = widgets::namedButton(this, "cmdSearch", QStringLiteral("&Search"));
    grdSpecimen = widgets::makePickerGrid(this);
    grdSpecimen->setObjectName(QStringLiteral("grdSpecimen"));
    cmdEnter = widgets::namedButton(this, "cmdEnter", QStringLiteral("&Enter"));
    auto *cmdCancel = widgets::namedButton(this, "cmdCancel", QStringLiteral("&Cancel"));

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Specimen"), this));
    top->addWidget(txtSpecimen, 1);
    top->addWidget(cmdSearch);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grdSpecimen, 1);
    layout->addLayout(widgets::buttonRow({cmdEnter, cmdCancel}));
    resize(420, 300);

    Grid_Init();
    txtSpecimen->installEventFilter(this);
    grdSpecimen->installEventFilter(this);
    connect(txtSpecimen, &QLineEdit::textEdited, this, [this] { search(); });
    connect(cmdSearch, &QPushButton::clicked, this, [this] { search(); });
    connect(cmdEnter, &QPushButton::clicked, this, [this] { takeRow(grdSpecimen->currentRow()); });
    connect(grdSpecimen, &QTableWidget::cellClicked, this, [this](int row, int) { takeRow(row); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSpecimenEntry::Grid_Init()
{
    grdSpecimen->clearContents();
    grdSpecimen->setRowCount(0);
    grdSpecimen->setColumnCount(2);
    grdSpecimen->setHorizontalHeaderLabels({QStringLiteral("Code"), QStringLiteral("Specimen")});
    grdSpecimen->setColumnWidth(colCode, 70);
}

void frmSpecimenEntry::LoadData()
{
    specimenId_.clear();
    morethan1_ = false;
    Recordset rs = connection_.Open(
        QStringLiteral("Select A.SpecimenID, B.Specimen from Build_File..tbcoLabSpecimenExam A ") +
        QStringLiteral("Left Outer Join Build_File..tbcoLabSpecimen B on A.SpecimenID = "
                       "B.SpecimenID ") +
        QStringLiteral("where A.LabExamID = '") + sql::escape(itemId_) +
        QStringLiteral("' order by Specimen"));
    Grid_Init();
    const long count = rs.RecordCount();
    if (count <= 0) {
        txtSpecimen->clear();
        return;
    }
    if (count == 1) {
        specimenId_ = rs.Fields(QStringLiteral("SpecimenID")).trimmed();
        txtSpecimen->setText(rs.Fields(QStringLiteral("Specimen")).trimmed());
        return;
    }
    morethan1_ = true;
    widgets::fillPickerGrid(grdSpecimen, rs, {QStringLiteral("Code"), QStringLiteral("Specimen")});
    txtSpecimen->clear();
    txtSpecimen->setFocus();
    widgets::execModal(*this);
}

bool frmSpecimenEntry::search()
{
    const QString typed = txtSpecimen->text().trimmed();
    if (typed.isEmpty())
        return false;
    for (int column : {colSpecimen, colCode}) {
        for (int row = 0; row < grdSpecimen->rowCount(); ++row) {
            const QTableWidgetItem *item = grdSpecimen->item(row, column);
            if (item && item->text().startsWith(typed, Qt::CaseInsensitive)) {
                grdSpecimen->setCurrentCell(row, colCode);
                grdSpecimen->scrollToItem(item);
                return true;
            }
        }
    }
    return false;
}

void frmSpecimenEntry::takeRow(int row)
{
    if (row < 0 || row >= grdSpecimen->rowCount())
        return;
    auto textAt = [this, row](int column) -> QString {
        const QTableWidgetItem *item = grdSpecimen->item(row, column);
        return item ? item->text().trimmed() : QString();
    };
    specimenId_ = textAt(colCode);
    txtSpecimen->setText(textAt(colSpecimen));
    accept();
}

bool frmSpecimenEntry::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            takeRow(grdSpecimen->currentRow());
            return true;
        }
        // The arrows move through the list while the box keeps the focus.
        if (watched == txtSpecimen && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
            const int row = grdSpecimen->currentRow() + (key->key() == Qt::Key_Down ? 1 : -1);
            if (row >= 0 && row < grdSpecimen->rowCount())
                grdSpecimen->setCurrentCell(row, colCode);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace chemodesk::requests
