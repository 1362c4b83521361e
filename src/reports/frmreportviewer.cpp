#include "frmreportviewer.h"

#include "platform/reportengine.h"
#include "reportengine/view/reportview.h"
#include "widgets/messages.h"

#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace chemodesk::reports {

using platform::ExportFormat;
using platform::ReportError;

namespace {

QToolButton *imageButton(QWidget *parent, const char *name, const QString &caption,
                         const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(tip);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

frmReportviewer::frmReportviewer(platform::Report &report, platform::ReportEngine &engine,
                                 QWidget *parent)
    : QDialog(parent), report_(report), engine_(engine)
{
    setObjectName(QStringLiteral("frmReportviewer"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(1000, 760);

    imgPrint = imageButton(this, "imgPrint", tr("&Print..."), tr("Print the report"));
    cmdMore = new QPushButton(tr("&More >>"), this);
    cmdMore->setObjectName(QStringLiteral("cmdMore"));
    cmdMore->setAutoDefault(false);
    cmdPrint = new QPushButton(tr("&Close"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setAutoDefault(false);

    fraMore = new QFrame(this);
    fraMore->setObjectName(QStringLiteral("fraMore"));
    fraMore->setFrameShape(QFrame::StyledPanel);
    imgExcel =
        imageButton(fraMore, "imgExcel", tr("&Excel..."), tr("Save as a Microsof Excel workbook"));
    imgRTF = imageButton(fraMore, "imgRTF", tr("&RTF..."), tr("Save as a Rich Text Format file"));
    imgPDF = imageButton(fraMore, "imgPDF", tr("P&DF..."), tr("Save as a PDF file"));
    auto *more = new QHBoxLayout(fraMore);
    more->setContentsMargins(4, 2, 4, 2);
    more->addWidget(imgExcel);
    more->addWidget(imgRTF);
    more->addWidget(imgPDF);
    more->addStretch();
    fraMore->hide();

    auto *bar = new QHBoxLayout;
    bar->addWidget(imgPrint);
    bar->addWidget(cmdMore);
    bar->addStretch();
    bar->addWidget(cmdPrint);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(fraMore);

    connect(cmdPrint, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdMore, &QPushButton::clicked, this, &frmReportviewer::ToggleMore);
    connect(imgPrint, &QToolButton::clicked, this, &frmReportviewer::PrintReport);
    connect(imgExcel, &QToolButton::clicked, this, &frmReportviewer::ExportExcel);
    connect(imgRTF, &QToolButton::clicked, this, &frmReportviewer::ExportRtf);
    connect(imgPDF, &QToolButton::clicked, this, &frmReportviewer::ExportPdf);
}

void frmReportviewer::Form_Load()
{
    if (!CRViewer1) {
        CRViewer1 = engine_.CreateViewer(report_, ShowGroupTree, this);
        CRViewer1->setObjectName(QStringLiteral("CRViewer1"));
        static_cast<QVBoxLayout *>(layout())->addWidget(CRViewer1, 1);
        CRViewer1->setFocus();
    }
    if (DirectPrint) {
        try {
            report_.PrintOut();
        } catch (const ReportError &e) {
            widgets::msgCritical(e.message());
        }
    }
}

void frmReportviewer::PrintReport()
{
    try {
        if (auto *view = qobject_cast<reportengine::ReportView *>(CRViewer1))
            view->PrintReport();
        else
            report_.PrintOut();
    } catch (const ReportError &e) {
        widgets::msgCritical(e.message());
    }
}

void frmReportviewer::exportAs(const QString &filter, const QString &suffix, ExportFormat format)
{
    QFileDialog dialog(this, tr("Save Report As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setDirectory(QDir::homePath());
    QString name = windowTitle().trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    dialog.selectFile((name.isEmpty() ? QStringLiteral("Report") : name) + QLatin1Char('.') +
                      suffix);
    if (widgets::execModal(dialog) != QDialog::Accepted)
        return;
    const QString path = dialog.selectedFiles().value(0);
    if (path.isEmpty())
        return;
    try {
        report_.Export(path, format);
    } catch (const ReportError &e) {
        widgets::msgCritical(e.message());
    }
}

// The hospital's filter kept its caption; the file is a current workbook.
void frmReportviewer::ExportExcel()
{
    exportAs(QStringLiteral("Microsof Excel (*.xlsx)"), QStringLiteral("xlsx"),
             ExportFormat::Excel);
}

void frmReportviewer::ExportRtf()
{
    exportAs(QStringLiteral("Rich Text Format (*.rtf)"), QStringLiteral("rtf"),
             ExportFormat::RichText);
}

void frmReportviewer::ExportPdf()
{
    exportAs(QStringLiteral("Portable Document Format (*.pdf)"), QStringLiteral("pdf"),
             ExportFormat::Pdf);
}

void frmReportviewer::ToggleMore()
{
    fraMore->setVisible(fraMore->isHidden());
    cmdMore->setText(fraMore->isHidden() ? tr("&More >>") : tr("<< &Less"));
}

} // namespace chemodesk::reports
