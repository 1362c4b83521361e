#include "frmaudittrail.h"

#include "database/hostedconnection.h"
#include "widgets/messages.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace chemodesk::reports {

frmAuditTrail::frmAuditTrail(Connection &connection, QWidget *parent)
    : QDialog(parent), connection_(connection)
{
    setObjectName(QStringLiteral("frmAuditTrail"));
    setWindowTitle(QStringLiteral("Audit Trail"));
    dtpSince = new QDateEdit(this);
    dtpSince->setObjectName(QStringLiteral("dtpSince"));
    dtpSince->setCalendarPopup(true);
    dtpSince->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    dtpSince->setDate(QDate::currentDate().addDays(-7));
    cmdShow = new QPushButton(QStringLiteral("&Show"), this);
    cmdShow->setObjectName(QStringLiteral("cmdShow"));
    cmdShow->setDefault(true);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    grdTrail = new QTableWidget(this);
    grdTrail->setObjectName(QStringLiteral("grdTrail"));
    grdTrail->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTrail->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdTrail->verticalHeader()->hide();

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Since:"), this));
    top->addWidget(dtpSince);
    top->addWidget(cmdShow);
    top->addStretch();
    top->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grdTrail, 1);
    resize(900, 500);

    connect(cmdShow, &QPushButton::clicked, this, &frmAuditTrail::Show);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmAuditTrail::Show()
{
    auto *server = dynamic_cast<db::HostedConnection *>(&connection_);
    if (!server || server->dialect() != db::Dialect::PostgreSQL) {
        widgets::msgInformation(
            QStringLiteral("The audit trail is kept by the shared database server; this "
                           "workstation's own database file keeps none."),
            QStringLiteral("Message"));
        return false;
    }
    try {
        Recordset rs = server->executeNative(
            QStringLiteral("SELECT * FROM public.chemodesk_audit_trail('%1'::timestamp)")
                .arg(dtpSince->date().toString(QStringLiteral("yyyy-MM-dd"))));
        const QStringList columns = rs.ColumnNames();
        grdTrail->clear();
        grdTrail->setColumnCount(static_cast<int>(columns.size()));
        grdTrail->setHorizontalHeaderLabels(columns);
        grdTrail->setRowCount(0);
        for (int row = 0; !rs.atEnd(); rs.MoveNext(), ++row) {
            grdTrail->insertRow(row);
            for (int column = 0; column < rs.FieldCount(); ++column) {
                const Field field = rs.Fields(column);
                const QString text =
                    field.IsNull()
                        ? QString()
                        : (field.Value().typeId() == QMetaType::QDateTime
                               ? field.toDateTime().toString(QStringLiteral("MM/dd/yyyy hh:mm:ss"))
                               : field.toString());
                grdTrail->setItem(row, column, new QTableWidgetItem(text));
            }
        }
        grdTrail->resizeColumnsToContents();
    } catch (const DatabaseError &e) {
        widgets::msgInformation(e.message(), QStringLiteral("Information"));
        return false;
    }
    return true;
}

} // namespace chemodesk::reports
