#include "frmassessstatus.h"

#include "assessmentsave.h"
#include "database/sqltext.h"
#include "platform/connection.h"
#include "reports/reportprocs.h"
#include "widgets/dialogparts.h"
#include "widgets/gridformat.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace chemodesk::assessment {

using Icon = widgets::MessageService::Icon;

namespace {

void box(const QString &text, Icon icon, const QString &title = {})
{
    widgets::messages().message(text, title.isEmpty() ? widgets::defaultTitle() : title, icon);
}

const QString RevokedText = QStringLiteral("Cannot Reprint Revoked Assessments.");

} // namespace

frmAssessStatus::frmAssessStatus(Connection &connection, QWidget *parent)
    : QDialog(parent), connection_(connection), printer_(reports::ShowPrintout)
{
    setObjectName(QStringLiteral("frmAssessStatus"));
    setWindowTitle(QStringLiteral("Assessment Status"));
    txtEntry = new QLineEdit(this);
    txtEntry->setObjectName(QStringLiteral("txtEntry"));
    chkShowPrevious = new QCheckBox(QStringLiteral("&Show Previous Assessments"), this);
    chkShowPrevious->setObjectName(QStringLiteral("chkShowPrevious"));
    imgBusy = new QLabel(this);
    imgBusy->setObjectName(QStringLiteral("imgBusy"));
    imgBusy->setFixedWidth(24);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, [this] {
        static const char *const frames[] = {"|", "/", "-", "\\"};
        imgBusy->setText(QLatin1String(frames[frame_++ % 4]));
    });
    grdTable = new QTableWidget(this);
    grdTable->setObjectName(QStringLiteral("grdTable"));
    grdTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdTable->setSelectionMode(QAbstractItemView::SingleSelection);
    grdTable->verticalHeader()->hide();
    cmdPrint = widgets::namedButton(this, "cmdPrint", QStringLiteral("&Print"));
    cmdRevoke = widgets::namedButton(this, "cmdRevoke", QStringLiteral("&Revoke"));
    cmdClose = widgets::namedButton(this, "cmdClose", QStringLiteral("&Close"));

    auto *search = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("Enter Lastname :"), this);
    label->setBuddy(txtEntry);
    search->addWidget(label);
    search->addWidget(txtEntry, 1);
    search->addWidget(chkShowPrevious);
    search->addWidget(imgBusy);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(grdTable, 1);
    layout->addLayout(widgets::buttonRow({cmdPrint, cmdRevoke, cmdClose}));

    connect(txtEntry, &QLineEdit::returnPressed, this, &frmAssessStatus::listAssessments);
    connect(chkShowPrevious, &QCheckBox::clicked, this, &frmAssessStatus::showPreviousClicked);
    connect(cmdRevoke, &QPushButton::clicked, this, &frmAssessStatus::revoke);
    connect(cmdPrint, &QPushButton::clicked, this, &frmAssessStatus::print);
    connect(cmdClose, &QPushButton::clicked, this, &frmAssessStatus::reject);
    connect(grdTable, &QTableWidget::cellDoubleClicked, this, &frmAssessStatus::rowChosen);
    resize(960, 520);
    Timer1->start();
    listAssessments();
}

frmAssessStatus::~frmAssessStatus() = default;

void frmAssessStatus::fill(Recordset &rs)
{
    grdTable->clear();
    grdTable->setRowCount(0);
    grdTable->setColumnCount(rs.FieldCount() + 1);
    QStringList headers{QString()};
    headers << rs.ColumnNames();
    grdTable->setHorizontalHeaderLabels(headers);
    for (int row = 0; !rs.atEnd(); rs.MoveNext(), ++row) {
        grdTable->insertRow(row);
        for (int c = 0; c < rs.FieldCount(); ++c)
            grdTable->setItem(row, c + 1, new QTableWidgetItem(rs.Fields(c).toString()));
    }
    static const int widths[] = {20, 80, 220, 120, 90, 80, 50, 90, 40, 80};
    for (int c = 0; c < grdTable->columnCount() && c < 10; ++c)
        grdTable->setColumnWidth(c, widths[c]);
    widgets::widenToContents(grdTable);
    if (grdTable->rowCount() > 0)
        grdTable->setCurrentCell(0, 1);
    grdTable->viewport()->update();
}

void frmAssessStatus::listAssessments()
{
    try {
        Recordset rs = connection_.Open(
            QStringLiteral("Clinical_Area..spCancer_AssessmentStatusNew '") +
            sql::escape(txtEntry->text()) + QStringLiteral("','") +
            (chkShowPrevious->isChecked() ? QStringLiteral("Y") : QStringLiteral("N")) +
            QLatin1Char('\''));
        fill(rs);
        cmdRevoke->setEnabled(true);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
}

void frmAssessStatus::showPreviousClicked()
{
    if (txtEntry->text().isEmpty()) {
        box(QStringLiteral("Please enter a search text."), Icon::Information);
        return;
    }
    listAssessments();
}

QString frmAssessStatus::cell(int column) const
{
    const int row = grdTable->currentRow();
    if (row < 0)
        return {};
    const QTableWidgetItem *item = grdTable->item(row, column);
    return item ? item->text().trimmed() : QString();
}

bool frmAssessStatus::statusAllows()
{
    status_ = cell(colStatus);
    if (status_ == QLatin1String("REVOKED")) {
        box(RevokedText, Icon::Information);
        cmdRevoke->setEnabled(false);
        return false;
    }
    if (status_.startsWith(QLatin1String("OR"))) {
        box(QStringLiteral("Can't Revoke this Assessment! It is already been PROCESSED BY the "
                           "CASHIER.."),
            Icon::Exclamation, QStringLiteral("Message"));
        cmdRevoke->setEnabled(false);
        return false;
    }
    return true;
}

void frmAssessStatus::revoke()
{
    if (grdTable->currentRow() < 0)
        return;
    if (statusAllows())
        confirmRevoke();
}

void frmAssessStatus::rowChosen()
{
    // The revoke button is given back for every row; the row's status may take it again.
    cmdRevoke->setEnabled(true);
    if (statusAllows() && cmdRevoke->isEnabled())
        confirmRevoke();
}

void frmAssessStatus::confirmRevoke()
{
    if (!widgets::msgYesNo(QStringLiteral("Are you sure to revoke?")))
        return;
    try {
        connection_.Execute(sql::call(QStringLiteral("Hemodialysis"),
                                      QStringLiteral("spKidney_AssessRevoke"),
                                      {cell(colKey), cell(colRefNum), cell(colRevokeArg)}));
        box(QStringLiteral("Assessment has been revoked."), Icon::Information);
        Recordset rs = connection_.Open(QStringLiteral("Clinical_Area..spCancer_AssessmentStatus"));
        fill(rs);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
}

void frmAssessStatus::print()
{
    if (grdTable->currentRow() < 0)
        return;
    const QString refNum = cell(colRefNum);
    const QString slipValue = cell(colSlipValue);
    if (cell(colStatus) == QLatin1String("REVOKED")) {
        box(RevokedText, Icon::Information);
        return;
    }
    printer_(assessmentSlipPrint(refNum, slipValue, QStringLiteral("ON")), this);
}

void frmAssessStatus::reject()
{
    if (widgets::msgOkCancel(QStringLiteral("Are you sure to close this program?"),
                             QStringLiteral("OPD Registration System")))
        QDialog::reject();
}

} // namespace chemodesk::assessment
