#include "frmreportrange.h"

#include "rangereports.h"
#include "reportprocs.h"

#include "session/globals.h"
#include "widgets/messages.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace chemodesk::reports {

using session::globals;

frmReportRange::frmReportRange(int reportNumber, const QString &reportType, QWidget *parent)
    : QDialog(parent), ReportNumber(reportNumber), ReportType(reportType)
{
    setObjectName(QStringLiteral("frmReportRange"));
    setWindowTitle(reportType.trimmed().toUpper() == QLatin1String("E")
                       ? QStringLiteral("Census Report")
                       : rangeCaption(reportNumber));

    auto picker = [this](const char *name) {
        auto *edit = new QDateEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
        edit->setCalendarPopup(true);
        edit->setDate(globals().ServerDate.date());
        return edit;
    };
    dtpStartDate = picker("dtpStartDate");
    dtpEndDate = picker("dtpEndDate");
    cmdView = new QPushButton(tr("&View"), this);
    cmdView->setObjectName(QStringLiteral("cmdView"));
    cmdView->setDefault(true);
    cmdClose = new QPushButton(tr("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(tr("&Start date:"), dtpStartDate);
    form->addRow(tr("&End date:"), dtpEndDate);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdView);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setTabOrder(dtpStartDate, dtpEndDate);
    setTabOrder(dtpEndDate, cmdView);
    setTabOrder(cmdView, cmdClose);

    connect(cmdView, &QPushButton::clicked, this, &frmReportRange::View);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

void frmReportRange::View()
{
    if (dtpEndDate->date() < dtpStartDate->date()) {
        widgets::msgExclamation(QStringLiteral("End date must be greater than start date."));
        return;
    }
    const RangeContext context{globals().HospitalName, globals().HospitalAddress,
                               reportLogOn().EmployeeCode, HospNum};
    const RangeReport chosen =
        rangeReport(ReportNumber, ReportType, dtpStartDate->date(), dtpEndDate->date(), context);
    if (chosen.templateName.isEmpty()) {
        widgets::msgInformation(QStringLiteral("There is no report for this choice."));
        return;
    }
    try {
        OpenReport(ReportPath(chosen.templateName), chosen.parameters);
        ShowReport(false, chosen.caption, false, this);
    } catch (const platform::ReportError &e) {
        widgets::msgCritical(e.message());
        return;
    }
    accept();
}

} // namespace chemodesk::reports
