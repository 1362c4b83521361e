// The report viewer over a real report of the demo database: pages, zoom,
// the group tree, printing and saving through the dialogs.

#include "support/scriptedmessages.h"
#include "support/testdatabase.h"
#include "testpaths.h"

#include "reportengine/view/printing.h"
#include "reportengine/view/reportview.h"
#include "reports/frmreportviewer.h"
#include "reports/reportprocs.h"
#include "session/globals.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace chemodesk;
using reportengine::ReportView;

namespace {

class Viewer : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection = test::freshDatabase("sqlite");
        connection->setClockFixed(QDateTime(QDate(2026, 12, 1), QTime(16, 30)));
        session::globals().DbConnection = connection.get();
        reports::setReportsFolder(QStringLiteral(CHEMODESK_REPORTS_SOURCE));
        // Every charge of the demo month, grouped by employee: several pages.
        reports::OpenReport(reports::ReportPath(QStringLiteral("CancerAudit.rpt")),
                            {QStringLiteral("11/01/2026"), QStringLiteral("12/01/2026"),
                             QStringLiteral("A"), QStringLiteral("1001"),
                             QStringLiteral("CANCER AUDIT REPORT ALLPATIENT"),
                             QStringLiteral("HOSPITAL"), QStringLiteral("ADDRESS")});
        folder = QFileInfo(test::lastTarget()).path();
    }
    void TearDown() override
    {
        reports::setReportEngine(nullptr);
        reports::setReportsFolder({});
        session::resetGlobals();
    }

    std::unique_ptr<reports::frmReportviewer> viewer(bool groupTree = false,
                                                     bool directPrint = false)
    {
        auto v = std::make_unique<reports::frmReportviewer>(*reports::CurrentReport(),
                                                            reports::reportEngine());
        v->ShowGroupTree = groupTree;
        v->DirectPrint = directPrint;
        v->setWindowTitle(QStringLiteral("Audit Report"));
        v->Form_Load();
        return v;
    }

    std::unique_ptr<db::HostedConnection> connection;
    test::ScriptedMessages messages;
    QString folder;
};

// Answers the next file dialog with `path`, keeping the filter it offered.
void saveAs(test::ScriptedMessages &messages, const QString &path, QStringList &filters)
{
    messages.onDialog([path, &filters](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        if (!files)
            return int(QDialog::Rejected);
        filters = files->nameFilters();
        files->selectFile(path);
        return int(QDialog::Accepted);
    });
}

} // namespace

TEST_F(Viewer, PagesTurnAndZoomAsAsked)
{
    auto v = viewer();
    auto *view = qobject_cast<ReportView *>(v->CRViewer1);
    ASSERT_TRUE(view);
    v->resize(1000, 760);
    v->show();
    ASSERT_GE(view->pageCount(), 3);
    EXPECT_EQ(view->currentPage(), 0);
    EXPECT_FALSE(view->cmdPreviousPage->isEnabled());

    view->cmdNextPage->click();
    EXPECT_EQ(view->currentPage(), 1);
    EXPECT_EQ(view->txtPage->value(), 2);
    view->cmdLastPage->click();
    EXPECT_EQ(view->currentPage(), view->pageCount() - 1);
    EXPECT_FALSE(view->cmdNextPage->isEnabled());
    view->txtPage->setValue(2);
    EXPECT_EQ(view->currentPage(), 1);
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view->currentPage(), 0);
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_EQ(view->currentPage(), 1);

    view->setZoomPercent(100);
    const int at100 = view->imgPage->width();
    view->setZoomPercent(50);
    EXPECT_NEAR(view->imgPage->width(), at100 / 2, 2);
    EXPECT_EQ(view->cboZoom->currentText(), QStringLiteral("50%"));
    view->setFitWidth();
    EXPECT_LE(view->imgPage->width(), view->scrPage->viewport()->width());
    EXPECT_GT(view->imgPage->width(), view->scrPage->viewport()->width() - 40);
    view->setFitPage();
    EXPECT_LE(view->imgPage->height(), view->scrPage->viewport()->height());
}

TEST_F(Viewer, TheGroupTreeShowsWhenAskedAndLeadsToItsPage)
{
    EXPECT_FALSE(qobject_cast<ReportView *>(viewer(false)->CRViewer1)->groupTreeShown());
    auto v = viewer(true);
    auto *view = qobject_cast<ReportView *>(v->CRViewer1);
    EXPECT_TRUE(view->groupTreeShown());
    ASSERT_EQ(view->tvwGroups->topLevelItemCount(), 3); // one per employee who posted
    QTreeWidgetItem *last = view->tvwGroups->topLevelItem(2);
    EXPECT_TRUE(last->text(0).startsWith(QStringLiteral("Posted by: 1005")));
    Q_EMIT view->tvwGroups->itemClicked(last, 0);
    EXPECT_EQ(view->currentPage(), last->data(0, Qt::UserRole).toInt());
    EXPECT_GT(view->currentPage(), 0);
}

TEST_F(Viewer, MoreShowsTheExportsWhichSaveThroughTheFileDialog)
{
    auto v = viewer();
    EXPECT_TRUE(v->fraMore->isHidden());
    v->cmdMore->click();
    EXPECT_FALSE(v->fraMore->isHidden());

    QStringList filters;
    saveAs(messages, folder + QStringLiteral("/audit.xlsx"), filters);
    v->imgExcel->click();
    EXPECT_EQ(filters, QStringList{QStringLiteral("Microsof Excel (*.xlsx)")});
    EXPECT_GT(QFileInfo(folder + QStringLiteral("/audit.xlsx")).size(), 1000);

    saveAs(messages, folder + QStringLiteral("/audit.rtf"), filters);
    v->imgRTF->click();
    EXPECT_EQ(filters, QStringList{QStringLiteral("Rich Text Format (*.rtf)")});
    QFile rtf(folder + QStringLiteral("/audit.rtf"));
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(rtf.readAll().contains("CHEMOTHERAPY ADMINISTRATION FEE"));

    saveAs(messages, folder + QStringLiteral("/audit.pdf"), filters);
    v->imgPDF->click();
    EXPECT_GT(QFileInfo(folder + QStringLiteral("/audit.pdf")).size(), 1000);

    // Cancelling saves nothing and says nothing.
    v->imgExcel->click();
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/Audit Report.xlsx")));
    // A file that cannot be written is reported, not claimed.
    saveAs(messages, folder + QStringLiteral("/no-folder/audit.xlsx"), filters);
    v->imgExcel->click();
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("no-folder/audit.xlsx")))
        << messages.lastText().toStdString();
    EXPECT_EQ(messages.shown().back().icon, widgets::MessageService::Critical);

    v->show();
    v->cmdPrint->click();
    EXPECT_FALSE(v->isVisible());
}

TEST_F(Viewer, PrintingGoesThroughThePrintDialogOrAtOnce)
{
    const QString chosen = folder + QStringLiteral("/chosen.pdf");
    auto v = viewer();
    messages.onDialog([&](QDialog &dialog) {
        auto *print = qobject_cast<QPrintDialog *>(&dialog);
        if (!print)
            return int(QDialog::Rejected);
        print->printer()->setOutputFormat(QPrinter::PdfFormat);
        print->printer()->setOutputFileName(chosen);
        print->printer()->setPrintRange(QPrinter::PageRange);
        print->printer()->setFromTo(2, 2);
        return int(QDialog::Accepted);
    });
    v->imgPrint->click();
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(file.readAll())
                  .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))),
              1);

    const QString direct = folder + QStringLiteral("/direct.pdf");
    auto previous = reportengine::setPrinterSetup([&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(direct);
    });
    viewer(false, true);
    reportengine::setPrinterSetup(previous);
    EXPECT_GT(QFileInfo(direct).size(), 1000);
}
