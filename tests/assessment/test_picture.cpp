// docs/assessment-entry.png and docs/assessment-slip.pdf, taken only when
// CHEMODESK_SCREENSHOT_DIR names a folder (under a virtual X server:
// QT_QPA_PLATFORM=xcb xvfb-run ...): O'CAMPO, NORMA's assessment with the
// first demo package applied, then saved and its slip printed to PDF.

#include "assessment/frmassessmententry.h"
#include "packages/packagedialogs.h"
#include "reportengine/templatereport.h"
#include "reports/reportprocs.h"
#include "support/chargeparts.h"
#include "support/picture.h"
#include "testpaths.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;

TEST(AssessmentPicture, TakenOnRequest)
{
    test::PictureSession s;
    if (s.folder.isEmpty())
        GTEST_SKIP() << "CHEMODESK_SCREENSHOT_DIR is not set";
    auto &db = s.db;
    auto &messages = s.messages;
    const QString &folder = s.folder;
    db->setClockFixed(QDateTime(QDate(2026, 12, 1), QTime(10, 0)));
    test::ChargeParts parts(*db);
    assessment::frmAssessmentEntry screen(*db, parts.refs(),
                                          {QStringLiteral("261018"), QStringLiteral("1000018"),
                                           QStringLiteral("I"), QStringLiteral("1005")});
    screen.setPackageDialog(assessment::opdPackageDialog(*db));
    screen.show();
    messages.onDialog([](QDialog &dialog) {
        auto &pick = dynamic_cast<packages::frmOPDPackage &>(dialog);
        pick.choosePackage(0);
        pick.apply();
        return pick.result();
    });
    screen.cmdPackage->click();
    QTest::qWait(200);
    ASSERT_FALSE(screen.packageCode().isEmpty());
    ASSERT_TRUE(screen.grab().save(folder + QStringLiteral("/assessment-entry.png")));

    std::vector<charging::SlipPrint> printed;
    screen.setSlipPrinter(
        [&printed](const charging::SlipPrint &print, QWidget *) { printed.push_back(print); });
    messages.onDialog([](QDialog &) { return int(QDialog::Accepted); });
    screen.cmdSavePrint->click();
    ASSERT_EQ(printed.size(), size_t(1));
    reports::setReportsFolder(QStringLiteral(CHEMODESK_REPORTS_SOURCE));
    reportengine::TemplateEngine engine([&db]() -> Connection * { return db.get(); });
    auto slip = engine.OpenTemplate(reports::ReportPath(printed[0].templatePath));
    reports::FillParameters(*slip, printed[0].parameters, true);
    slip->Export(folder + QStringLiteral("/assessment-slip.pdf"), platform::ExportFormat::Pdf);
}
