#include "frmreprintrequestform.h"

#include "database/sqltext.h"
#include "platform/connection.h"
#include "platform/reportengine.h"
#include "reports/reportprocs.h"
#include "session/globals.h"
#include "widgets/dialogparts.h"
#include "widgets/gridformat.h"
#include "widgets/messages.h"
#include "widgets/pickergrid.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace chemodesk::requests {

namespace {

const QString GridFormat =
    QStringLiteral("  |<Request.# |<RequestDate |< PatientName |< HostNum |< Idnum |< DoctorName");

constexpr int colRequestNum = 1;
constexpr int colIdNum = 5;

} // namespace

RequestFormPrint requestFormPrint(const QString &requestNum, const QString &idNum)
{
    const session::Globals &g = session::globals();
    RequestFormPrint print;
    print.templatePath = QStringLiteral("\\Reports\\PHCSRequestForm.rpt");
    print.parameters = {QVariant(requestNum.trimmed()), QVariant(idNum.trimmed()),
                        QVariant(g.HospitalName), QVariant(g.HospitalAddress)};
    print.caption = QStringLiteral("RePrint Pharmacy Request Form");
    return print;
}

frmReprintRequestForm::frmReprintRequestForm(Connection &connection, const QString &requestType,
                                             const QString &caption, const QString &patient,
                                             QWidget *parent)
    : QDialog(parent), connection_(connection), requestType_(requestType), patient_(patient),
      printer_(reports::ShowPrintout)
{
    setObjectName(QStringLiteral("frmReprintRequestForm"));
    setWindowTitle(caption);

    MSHFlexGrid1 = widgets::makePickerGrid(this);
    MSHFlexGrid1->setObjectName(QStringLiteral("MSHFlexGrid1"));
    cmdRePrint = widgets::namedButton(this, "cmdRePrint", QStringLiteral("&RePrint"));
    vkcmdClose = widgets::namedButton(this, "vkcmdClose", QStringLiteral("&Close"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MSHFlexGrid1, 1);
    layout->addLayout(widgets::buttonRow({cmdRePrint, vkcmdClose}));
    resize(820, 380);

    connect(cmdRePrint, &QPushButton::clicked, this, &frmReprintRequestForm::rePrint);
    connect(vkcmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(MSHFlexGrid1, &QTableWidget::cellDoubleClicked, this, [this](int, int) { rePrint(); });
    LoadRequests();
}

void frmReprintRequestForm::LoadRequests()
{
    MSHFlexGrid1->clearContents();
    MSHFlexGrid1->setRowCount(0);
    widgets::applyFormatString(MSHFlexGrid1, GridFormat, {150, 1200, 1900, 3000, 1100, 1100, 2600});
    cmdRePrint->setEnabled(false);
    Recordset rs = connection_.Open(QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '") +
                                    sql::escape(patient_) + QStringLiteral("','") +
                                    sql::escape(requestType_) + QLatin1Char('\''));
    if (rs.RecordCount() <= 0)
        return;
    MSHFlexGrid1->setRowCount(int(rs.RecordCount()));
    int row = 0;
    for (; !rs.atEnd(); rs.MoveNext(), ++row) {
        const QDateTime when = rs.Fields(QStringLiteral("RequestDate")).toDateTime();
        const QString cells[] = {
            QString(),
            rs.Fields(QStringLiteral("RequestNum")).trimmed(),
            when.isValid() ? when.toString(QStringLiteral("MM/dd/yyyy hh:mmAP")) : QString(),
            rs.Fields(QStringLiteral("PatientName")).trimmed(),
            rs.Fields(QStringLiteral("HospNum")).trimmed(),
            rs.Fields(QStringLiteral("IdNum")).trimmed(),
            rs.Fields(QStringLiteral("DoctorName")).trimmed(),
        };
        for (int column = 0; column < 7; ++column)
            MSHFlexGrid1->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    widgets::widenToContents(MSHFlexGrid1);
    MSHFlexGrid1->setCurrentCell(0, colRequestNum);
    cmdRePrint->setEnabled(true);
}

void frmReprintRequestForm::rePrint()
{
    if (!cmdRePrint->isEnabled())
        return;
    const QString requestNum = widgets::currentText(MSHFlexGrid1, colRequestNum);
    if (requestNum.isEmpty())
        return;
    printer_(requestFormPrint(requestNum, widgets::currentText(MSHFlexGrid1, colIdNum)), this);
}

void openReprintRequestForm(Connection &connection, const QString &hospNum,
                            const QString &requestType, const QString &caption, QWidget *parent)
{
    frmReprintRequestForm screen(connection, requestType, caption, hospNum, parent);
    widgets::execModal(screen);
}

} // namespace chemodesk::requests
