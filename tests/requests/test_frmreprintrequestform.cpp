// The reprint dialog of pharmacy and central supply requests: the list the
// request log book gives for the patient on show, and the form of the chosen
// request printed through the report procedures.

#include "reportengine/templatereport.h"
#include "reports/reportprocs.h"
#include "requests/frmreprintrequestform.h"
#include "requests/screens.h"
#include "session/globals.h"
#include "session/module1.h"
#include "support/enginetest.h"
#include "support/fakepanel.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"
#include "testpaths.h"
#include "widgets/screenregistry.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace chemodesk;
using chemodesk::testing::RecordingConnection;
using chemodesk::testing::table;
using requests::frmReprintRequestForm;
using requests::RequestFormPrint;

namespace {

QStringList headers(const QTableWidget *grid)
{
    QStringList out;
    for (int column = 0; column < grid->columnCount(); ++column)
        out << grid->horizontalHeaderItem(column)->text();
    return out;
}

QStringList row(const QTableWidget *grid, int r)
{
    QStringList out;
    for (int column = 0; column < grid->columnCount(); ++column)
        out << (grid->item(r, column) ? grid->item(r, column)->text() : QString());
    return out;
}

Recordset requestList(std::vector<std::vector<QVariant>> rows)
{
    return table({QStringLiteral("RequestNum"), QStringLiteral("RequestDate"),
                  QStringLiteral("PatientName"), QStringLiteral("HospNum"), QStringLiteral("IdNum"),
                  QStringLiteral("DoctorName")},
                 std::move(rows));
}

class ReprintList : public ::testing::Test {
protected:
    void TearDown() override { session::resetGlobals(); }

    test::ScriptedMessages messages;
    RecordingConnection connection;
};

TEST_F(ReprintList, TheListOfThePatientFillsTheGridAndEnablesReprint)
{
    const QString text = QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '1000''18','CS'");
    connection.answer(
        text,
        requestList({{12, QDateTime(QDate(2026, 11, 30), QTime(14, 5)),
                      QStringLiteral("O'CAMPO, NORMA"), QStringLiteral("1000'18"),
                      QStringLiteral("261018"), QStringLiteral("SANTIAGO, MARIA")},
                     {7, QStringLiteral("2026-11-28 09:00:00"), QStringLiteral("O'CAMPO, NORMA"),
                      QStringLiteral("1000'18"), QStringLiteral("261018"), QVariant()}}));
    frmReprintRequestForm screen(connection, QStringLiteral("CS"),
                                 QStringLiteral("Reprint CSR Request Form"),
                                 QStringLiteral("1000'18"));
    EXPECT_EQ(connection.texts(), QStringList{text});
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("Reprint CSR Request Form"));
    EXPECT_EQ(screen.RequestType(), QStringLiteral("CS"));
    EXPECT_EQ(headers(screen.MSHFlexGrid1),
              (QStringList{QString(), QStringLiteral("Request.#"), QStringLiteral("RequestDate"),
                           QStringLiteral("PatientName"), QStringLiteral("HostNum"),
                           QStringLiteral("Idnum"), QStringLiteral("DoctorName")}));
    ASSERT_EQ(screen.MSHFlexGrid1->rowCount(), 2);
    EXPECT_EQ(row(screen.MSHFlexGrid1, 0),
              (QStringList{QString(), QStringLiteral("12"), QStringLiteral("11/30/2026 02:05PM"),
                           QStringLiteral("O'CAMPO, NORMA"), QStringLiteral("1000'18"),
                           QStringLiteral("261018"), QStringLiteral("SANTIAGO, MARIA")}));
    EXPECT_EQ(row(screen.MSHFlexGrid1, 1).mid(1, 2),
              (QStringList{QStringLiteral("7"), QStringLiteral("11/28/2026 09:00AM")}));
    EXPECT_TRUE(screen.cmdRePrint->isEnabled());

    // The chosen row's request and admission go to the template.
    session::globals().HospitalName = QStringLiteral("MABINI VALLEY MEDICAL CENTER");
    session::globals().HospitalAddress = QStringLiteral("SANTA CRUZ, LAGUNA");
    std::vector<RequestFormPrint> printed;
    screen.setPrinter(
        [&printed](const RequestFormPrint &print, QWidget *) { printed.push_back(print); });
    screen.MSHFlexGrid1->setCurrentCell(1, 3);
    screen.cmdRePrint->click();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].templatePath, QStringLiteral("\\Reports\\PHCSRequestForm.rpt"));
    EXPECT_EQ(printed[0].caption, QStringLiteral("RePrint Pharmacy Request Form"));
    EXPECT_EQ(printed[0].parameters, (QVariantList{QStringLiteral("7"), QStringLiteral("261018"),
                                                   QStringLiteral("MABINI VALLEY MEDICAL CENTER"),
                                                   QStringLiteral("SANTA CRUZ, LAGUNA")}));
}

TEST_F(ReprintList, NoRequestsLeaveReprintDisabled)
{
    frmReprintRequestForm screen(connection, QStringLiteral("PH"),
                                 QStringLiteral("Reprint Pharmacy Request Form"), QString());
    EXPECT_EQ(connection.texts(),
              QStringList{QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '','PH'")});
    EXPECT_EQ(screen.MSHFlexGrid1->rowCount(), 0);
    EXPECT_EQ(screen.MSHFlexGrid1->columnCount(), 7);
    EXPECT_FALSE(screen.cmdRePrint->isEnabled());
    int printed = 0;
    screen.setPrinter([&printed](const RequestFormPrint &, QWidget *) { ++printed; });
    screen.rePrint();
    EXPECT_EQ(printed, 0);
}

// The pharmacy and supply screens open it with their type and caption, for
// the patient the main window shows.
TEST_F(ReprintList, OpenedForThePatientOnShow)
{
    session::globals().DbConnection = &connection;
    test::FakePanel panel;
    panel.showPatient({QStringLiteral("1000018"), QStringLiteral("261018"),
                       QStringLiteral("O'CAMPO, NORMA"), QStringLiteral("I"), QString()});
    QStringList opened;
    auto remember = [&opened](QDialog &shown) {
        auto &screen = static_cast<frmReprintRequestForm &>(shown);
        opened << screen.RequestType() + QLatin1Char(' ') + screen.windowTitle();
        return int(QDialog::Rejected);
    };
    messages.onDialog(remember);
    requests::openReprintRequestForm(connection, panel.patient().hospNum, QStringLiteral("CS"),
                                     QStringLiteral("Reprint CSR Request Form"));
    messages.onDialog(remember);
    widgets::ScreenRegistry registry;
    requests::registerScreens(registry);
    ASSERT_TRUE(
        registry.run(QStringLiteral("frmReprintRequestForm"), test::contextOf(connection, panel)));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("CS Reprint CSR Request Form"),
                                   QStringLiteral("PH Reprint Pharmacy Request Form")}));
    EXPECT_EQ(connection.texts(),
              (QStringList{QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '1000018','CS'"),
                           QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '1000018','PH'")}));
}

// On the demo database: O'CAMPO, NORMA (1000018) has asked for nothing;
// CHUA, VICENTE (1000021, admission 261021) has pharmacy request 505 and
// central supply request 506.
class ReprintOnEngine : public test::EngineTest {
protected:
    void TearDown() override
    {
        reports::setReportsFolder({});
        session::resetGlobals();
    }
    test::ScriptedMessages messages;
};

TEST_P(ReprintOnEngine, APatientWithoutRequestsListsNoneAndCannotReprint)
{
    frmReprintRequestForm screen(*db, QStringLiteral("PH"),
                                 QStringLiteral("Reprint Pharmacy Request Form"),
                                 QStringLiteral("1000018"));
    EXPECT_EQ(screen.MSHFlexGrid1->rowCount(), 0);
    EXPECT_FALSE(screen.cmdRePrint->isEnabled());
}

TEST_P(ReprintOnEngine, TheChosenRequestsFormIsPrintedWithItsItems)
{
    auto &g = session::globals();
    g.DbConnection = db.get();
    session::ReadHospitalInfoA(*db);
    reports::setReportsFolder(QStringLiteral(CHEMODESK_REPORTS_SOURCE));

    frmReprintRequestForm screen(*db, QStringLiteral("CS"),
                                 QStringLiteral("Reprint CSR Request Form"),
                                 QStringLiteral("1000021"));
    ASSERT_EQ(screen.MSHFlexGrid1->rowCount(), 1);
    EXPECT_EQ(row(screen.MSHFlexGrid1, 0),
              (QStringList{QString(), QStringLiteral("506"), QStringLiteral("11/28/2026 07:13PM"),
                           QStringLiteral("CHUA, VICENTE ABRENICA"), QStringLiteral("1000021"),
                           QStringLiteral("261021"), QStringLiteral("DR. REYES, ANTONIO")}));
    ASSERT_TRUE(screen.cmdRePrint->isEnabled());

    QString viewer;
    messages.onDialog([&viewer](QDialog &shown) {
        viewer = shown.windowTitle();
        return int(QDialog::Rejected);
    });
    screen.cmdRePrint->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
    EXPECT_EQ(viewer, QStringLiteral("RePrint Pharmacy Request Form"));
    auto *report = dynamic_cast<reportengine::TemplateReport *>(reports::CurrentReport());
    ASSERT_NE(report, nullptr);
    const QString form = report->document().dump();
    for (const char *line : {"TEXT center bold 11 | CENTRAL SUPPLY REQUEST FORM\n",
                             "TEXT left bold | Request No.: 506     Date: 11/28/2026 07:13PM\n",
                             "ROW 20011 | DISPOSABLE SYRINGE 3CC |  | 5 | 51.25\n",
                             "ROW 20019 | STERILE GLOVES SIZE 7 |  | 3 | 110.25 | STAT PLEASE\n",
                             "TOTAL TOTAL: 3 item(s) |  |  |  |  | 272.00\n"})
        EXPECT_TRUE(form.contains(QLatin1String(line))) << line << "\n" << form.toStdString();
}

CHEMODESK_ENGINE_TESTS(ReprintOnEngine);

} // namespace
