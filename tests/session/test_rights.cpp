// The department's rights: reading an employee's row (a flag grants only
// when it is set; Null does not), applying it to the main window, and the
// procedure the rights screen saves through.

#include "support/fakepanel.h"

#include "database/sqltext.h"
#include "session/rights.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using session::UserRights;

namespace {

// The ten flags as "0"/"1" in the order of the rights screen's boxes.
QString bits(const UserRights &r)
{
    QString out;
    for (bool flag :
         {r.CashAssessment, r.NurseActivity, r.PostCharge, r.CSRRequest, r.PHRequest, r.Maintenance,
          r.Reports, r.ReceivableEntry, r.PatientLedger, r.CancelCharges})
        out += flag ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

const QString RightsColumns = QStringLiteral(
    "isCashAssessment,isNurseActivity,isPostCharge,isCSRReqeust,isPHRequest,isMaintenance,"
    "isReports,isReceivableEntry,isPatientLedger,isCancelCharges");

TEST(UserRights, ReadsTheRowByItsTextAndGrantsOnlyWhatIsSet)
{
    chemodesk::testing::RecordingConnection db;
    const QString text =
        QStringLiteral("Select * from CLINICAL_AREA..tbCancerUserSetting where EmpID = 'O''NEIL'");
    // Bits as either engine may hand them back: booleans, numbers, texts, Null.
    db.answer(text, chemodesk::testing::table(
                        RightsColumns.split(QLatin1Char(',')),
                        {{true, 1, QStringLiteral("1"), QStringLiteral("True"), QVariant(), false,
                          0, QStringLiteral("0"), QVariant(QString()), QVariant()}}));
    const UserRights rights = session::ReadUserRights(db, QStringLiteral("O'NEIL"));
    EXPECT_EQ(db.texts(), QStringList{text});
    EXPECT_TRUE(rights.hasRow);
    EXPECT_EQ(bits(rights), QStringLiteral("1111000000"));

    const UserRights none = session::ReadUserRights(db, QStringLiteral("9999"));
    EXPECT_FALSE(none.hasRow);
    EXPECT_EQ(bits(none), QStringLiteral("0000000000"));
}

class RightsOnEngine : public test::EngineTest {
protected:
};

TEST_P(RightsOnEngine, DemoEmployeesGetTheirButtonsAndMenus)
{
    const struct {
        const char *employee;
        bool hasRow;
        const char *flags;
        // Buttons cash, nurse activity, post charge, CSR, pharmacy; then the
        // paired menu items and the Maintenance, Reports and Ledger menus.
        const char *states;
    } cases[] = {
        {"1001", true, "1111111111", "11111 11111111"},
        {"1002", true, "0111101010", "01111 01111011"},
        {"1004", true, "0101100000", "01011 01011000"},
        {"1005", true, "1010001110", "10100 10100011"},
        // Every flag Null: nothing granted, though the row exists.
        {"1007", true, "0000000000", "00000 00000000"},
        // No row: the buttons and the three menus go off; the paired menu
        // items keep what they had (here: all on).
        {"1003", false, "0000000000", "00000 11111000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.employee);
        test::FakePanel main;
        main.setAll(true);
        const UserRights rights = session::LoadUserRights(*db, QLatin1String(c.employee), &main);
        EXPECT_EQ(rights.hasRow, c.hasRow);
        EXPECT_EQ(bits(rights), QLatin1String(c.flags));
        EXPECT_EQ(main.states(), QLatin1String(c.states));
    }
}

TEST_P(RightsOnEngine, ApplyingAnotherEmployeeSetsEveryGateAgain)
{
    test::FakePanel main;
    main.setAll(false);
    session::LoadUserRights(*db, QStringLiteral("1001"), &main);
    EXPECT_EQ(main.states(), QStringLiteral("11111 11111111"));
    session::LoadUserRights(*db, QStringLiteral("1004"), &main);
    EXPECT_EQ(main.states(), QStringLiteral("01011 01011000"));

    // Without a row the paired items are left as they were, off ones too.
    main.setMenuEnabled(platform::MainAction::CashAssessment, true);
    main.setMenuEnabled(platform::MainAction::NurseActivity, false);
    session::LoadUserRights(*db, QStringLiteral("1003"), &main);
    EXPECT_EQ(main.states(), QStringLiteral("00000 10011000"));
}

TEST_P(RightsOnEngine, SaveProcedureUpdatesOrCreatesTheRow)
{
    const auto save = [&](const QString &employee, const QString &flags) {
        QStringList args{employee};
        for (QChar f : flags)
            args << QString(f);
        db->Execute(sql::call(QStringLiteral("Clinical_Area"),
                              QStringLiteral("sp_Cancer_SaveUserSetting"), args));
    };
    const struct {
        const char *employee;
        const char *flags;
    } saves[] = {
        {"1004", "1000000001"}, // an existing row
        {"1003", "0100000010"}, // no row yet
        {"1007", "1111111111"}, // a row of Nulls
        {"1003", "0000000000"}, // the row made above, again
    };
    for (const auto &s : saves) {
        SCOPED_TRACE(s.employee);
        save(QLatin1String(s.employee), QLatin1String(s.flags));
        const UserRights back = session::ReadUserRights(*db, QLatin1String(s.employee));
        EXPECT_TRUE(back.hasRow);
        EXPECT_EQ(bits(back), QLatin1String(s.flags));
    }
    Recordset count = db->Execute(QStringLiteral(
        "select count(*) as n from CLINICAL_AREA..tbCancerUserSetting where EmpID = '1003'"));
    EXPECT_EQ(count.Fields(QStringLiteral("n")).toLongLong(), 1);
    // Others' rows are left alone.
    EXPECT_EQ(bits(session::ReadUserRights(*db, QStringLiteral("1002"))),
              QStringLiteral("0111101010"));
}

TEST_P(RightsOnEngine, SaveProcedureRefusesWhatIsNoRight)
{
    const struct {
        const char *name;
        QString text;
    } cases[] = {
        {"empty employee", QStringLiteral("Clinical_Area..sp_Cancer_SaveUserSetting "
                                          "'','1','1','1','1','1','1','1','1','1','1'")},
        {"a flag of 2", QStringLiteral("Clinical_Area..sp_Cancer_SaveUserSetting "
                                       "'1004','1','2','1','1','1','1','1','1','1','1'")},
        {"a flag missing", QStringLiteral("Clinical_Area..sp_Cancer_SaveUserSetting "
                                          "'1004','1','1','1','1','1','1','1','1','1'")},
        {"an injected flag",
         QStringLiteral("Clinical_Area..sp_Cancer_SaveUserSetting '1004','1 , isMaintenance = "
                        "1','0','0','0','0','0','0','0','0','0'")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(db->Execute(c.text), DatabaseError);
        EXPECT_EQ(bits(session::ReadUserRights(*db, QStringLiteral("1004"))),
                  QStringLiteral("0101100000"));
    }
}

CHEMODESK_ENGINE_TESTS(RightsOnEngine);

} // namespace
