// The shared server's own guard, tried as a workstation's login would: what
// it may not read or change whoever is signed in, the session the server binds
// at sign-in, the rights it checks on the writes they gate, and the audit
// trail its triggers write.

#include "database/schemabuilder.h"
#include "hospitaldb/hospitaldb.h"
#include "session/scrambler.h"
#include "support/enginetest.h"
#include "support/workstation.h"
#include "usercomponent/currentuser.h"
#include "widgets/messages.h"

#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace chemodesk;

namespace {

const QString NoRights = QStringLiteral("You don't have enough rights to perform this operation.");

QString saveRights(const char *employee, const char *flag)
{
    QString text = QStringLiteral("Clinical_Area..sp_Cancer_SaveUserSetting '") +
                   QLatin1String(employee) + QLatin1Char('\'');
    for (int i = 0; i < 10; ++i)
        text += QStringLiteral(",'") + QLatin1String(flag) + QLatin1Char('\'');
    return text;
}

// The message a refused statement gives, empty when it was not refused.
template <typename Run> QString refusal(Run run)
{
    try {
        run();
    } catch (const DatabaseError &e) {
        return e.message();
    }
    return {};
}

class ServerSecurity : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::backendAvailable("postgresql"))
            GTEST_SKIP() << "no PostgreSQL server for the tests";
        db = test::freshDatabase("postgresql");
    }

    // The trail's rows of `action`, newest last, as the IT's command reads them.
    Recordset trail(const QString &action)
    {
        return db->executeNative(
            QStringLiteral("SELECT * FROM public.chemodesk_audit_trail(NULL) WHERE \"Action\" = ") +
            sql::quote(action));
    }

    std::unique_ptr<db::HostedConnection> db;
};

TEST_F(ServerSecurity, AWorkstationReadsNoAccessCodeAndChangesNoClockTrailOrTable)
{
    // Signed in with every right, the login still may not do any of these.
    auto ws = test::workstation(*db, QStringLiteral("1001"), QStringLiteral("ROSE1001"));
    const QString screens[] = {
        QStringLiteral("Select EmployeeID, AccessCode From PASSWORD..tbPasswordMaster"),
        QStringLiteral("Delete Clinical_Area..tbCancerCharges Where ChargeSlip = 'G1502C'"),
    };
    for (const QString &text : screens)
        EXPECT_FALSE(refusal([&] { ws->Execute(text); }).isEmpty()) << text.toStdString();
    const QString native[] = {
        QStringLiteral("SELECT accesscode FROM chemodesk_private.tbpasswordmaster"),
        QStringLiteral("INSERT INTO public.chemodesk_meta (name, value) VALUES "
                       "('clock_offset', '86400')"),
        QStringLiteral(
            "UPDATE public.chemodesk_meta SET value = '0' WHERE name = 'schema_version'"),
        QStringLiteral("SELECT * FROM chemodesk_private.audit"),
        QStringLiteral("DELETE FROM chemodesk_private.audit"),
        QStringLiteral("INSERT INTO chemodesk_private.session (pid, backend_start, employee_id) "
                       "VALUES (pg_backend_pid(), now(), '1001')"),
        QStringLiteral("ALTER TABLE clinical_area.tbcancercharges DISABLE TRIGGER ALL"),
        QStringLiteral("TRUNCATE clinical_area.tbcancercharges"),
        QStringLiteral("CREATE TABLE clinical_area.mine (a integer)"),
        QStringLiteral("DROP TRIGGER chemodesk_audit ON clinical_area.tbcancercharges"),
    };
    for (const QString &text : native)
        EXPECT_FALSE(refusal([&] { ws->executeNative(text); }).isEmpty()) << text.toStdString();

    // What the screens read of the employees is there, the code is not.
    Recordset employee = ws->Execute(
        QStringLiteral("SELECT * FROM PASSWORD..tbPAsswordMaster WHERE EMPLOYEEID = '1001'"));
    ASSERT_FALSE(employee.atEnd());
    EXPECT_EQ(employee.Fields(QStringLiteral("LastName")).trimmed(), QStringLiteral("DELA CRUZ"));
    EXPECT_FALSE(
        employee.ColumnNames().contains(QStringLiteral("accesscode"), Qt::CaseInsensitive));
    // The second employee's confirmation is checked by the server.
    const QString code = session::Scramble(
        QStringLiteral("E"), QLatin1String(session::AccessCodeKey), QStringLiteral("JPV1002"));
    Recordset confirmed =
        ws->Execute(QStringLiteral("Clinical_Area..sp_Check_User_Department_Access '1002','") +
                    code + QStringLiteral("','ON'"));
    ASSERT_FALSE(confirmed.atEnd());
    EXPECT_EQ(confirmed.Fields(QStringLiteral("LastName")).trimmed(), QStringLiteral("VILLANUEVA"));
    EXPECT_TRUE(
        ws->Execute(
              QStringLiteral("Clinical_Area..sp_Check_User_Department_Access '1002','5B00','ON'"))
            .atEnd());
}

TEST_F(ServerSecurity, ASessionWithoutAValidCodeHasNoRights)
{
    auto ws = test::workstation(*db);
    EXPECT_EQ(refusal([&] { ws->Execute(saveRights("1003", "1")); }), NoRights);
    // A wrong code binds nothing, and is recorded.
    EXPECT_TRUE(test::bindEmployee(*ws, QStringLiteral("1001"), QStringLiteral("GUESS")).atEnd());
    EXPECT_EQ(refusal([&] { ws->Execute(saveRights("1003", "1")); }), NoRights);
    Recordset refused = trail(QStringLiteral("sign-in refused"));
    ASSERT_FALSE(refused.atEnd());
    EXPECT_EQ(refused.Fields(QStringLiteral("EmployeeID")).toString(), QStringLiteral("1001"));
    EXPECT_EQ(refused.Fields(QStringLiteral("Login")).toString(),
              QLatin1String(test::WorkstationLogin));
    // A valid sign-in after a refused one binds; a refused one after it unbinds again.
    EXPECT_FALSE(
        test::bindEmployee(*ws, QStringLiteral("1001"), QStringLiteral("ROSE1001")).atEnd());
    EXPECT_EQ(refusal([&] { ws->Execute(saveRights("1003", "0")); }), QString());
    test::bindEmployee(*ws, QStringLiteral("1001"), QStringLiteral("WRONG"));
    EXPECT_EQ(refusal([&] { ws->Execute(saveRights("1003", "1")); }), NoRights);
}

TEST_F(ServerSecurity, RightsAreChangedOnlyByAnEmployeeWithTheMaintenanceRightAndRecorded)
{
    struct Case {
        const char *employee, *code;
        bool allowed;
    };
    for (const Case &c : {Case{"1002", "JPV1002", false}, Case{"1005", "LORNA1005", false},
                          Case{"1001", "ROSE1001", true}}) {
        auto ws = test::workstation(*db, QLatin1String(c.employee), QLatin1String(c.code));
        EXPECT_EQ(refusal([&] { ws->Execute(saveRights("1003", "1")); }),
                  c.allowed ? QString() : NoRights)
            << c.employee;
    }
    Recordset granted =
        db->Execute(QStringLiteral("SELECT isCancelCharges FROM CLINICAL_AREA..tbCancerUserSetting "
                                   "WHERE EmpID = '1003'"));
    ASSERT_FALSE(granted.atEnd());
    EXPECT_EQ(granted.Fields(0).toLongLong(), 1);
    Recordset changed = trail(QStringLiteral("rights saved"));
    ASSERT_EQ(changed.RecordCount(), 1);
    EXPECT_EQ(changed.Fields(QStringLiteral("EmployeeID")).toString(), QStringLiteral("1001"));
    EXPECT_EQ(changed.Fields(QStringLiteral("Workstation")).toString(), QStringLiteral("TEST-WS"));
    EXPECT_TRUE(changed.Fields(QStringLiteral("After"))
                    .toString()
                    .contains(QLatin1String("\"iscancelcharges\": 1")));
}

TEST_F(ServerSecurity, CancellingAChargeNeedsTheCancelRightAndIsRecordedWithItsBeforeAndAfter)
{
    const QString raw = QStringLiteral(
        "UPDATE Clinical_Area..tbCancerCharges SET RequestStatus = 'C' WHERE ChargeSlip = "
        "'G1502C' AND ItemID = '2003'");
    {
        auto ws = test::workstation(*db, QStringLiteral("1002"), QStringLiteral("JPV1002"));
        EXPECT_EQ(refusal([&] { ws->Execute(raw); }), NoRights);
        EXPECT_EQ(refusal([&] {
                      ws->Execute(QStringLiteral(
                          "Clinical_Area..spCancer_UpdateCharging '261026','2003','G1502C','XR',"
                          "'C','12/01/2026 02:05:09 PM','1001','WRONG PATIENT'"));
                  }),
                  NoRights);
    }
    EXPECT_EQ(db->Execute(QStringLiteral("SELECT RequestStatus FROM "
                                         "CLINICAL_AREA..tbCancerCharges WHERE ChargeSlip = "
                                         "'G1502C' AND ItemID = '2003'"))
                  .Fields(0)
                  .trimmed(),
              QStringLiteral("X"));
    auto ws = test::workstation(*db, QStringLiteral("1001"), QStringLiteral("ROSE1001"));
    ws->Execute(
        QStringLiteral("Clinical_Area..spCancer_UpdateCharging '261026','2003','G1502C','XR',"
                       "'C','12/01/2026 02:05:09 PM','1001','WRONG PATIENT'"));
    Recordset cancelled = trail(QStringLiteral("charge cancelled"));
    ASSERT_EQ(cancelled.RecordCount(), 1);
    EXPECT_EQ(cancelled.Fields(QStringLiteral("EmployeeID")).toString(), QStringLiteral("1001"));
    EXPECT_TRUE(cancelled.Fields(QStringLiteral("Before"))
                    .toString()
                    .contains(QLatin1String("\"requeststatus\": \"X\"")));
    EXPECT_TRUE(cancelled.Fields(QStringLiteral("After"))
                    .toString()
                    .contains(QLatin1String("\"cancelreason\": \"WRONG PATIENT\"")));
}

TEST_F(ServerSecurity, ARawDeleteOfChargesIsRefusedToWorkstationsAndRecordedForOthers)
{
    auto ws = test::workstation(*db, QStringLiteral("1001"), QStringLiteral("ROSE1001"));
    EXPECT_TRUE(refusal([&] {
                    ws->Execute(QStringLiteral(
                        "Delete Clinical_Area..tbCancerCharges Where ChargeSlip = 'G1502C'"));
                }).contains(QLatin1String("permission denied")));
    // The IT's own login may; the trail keeps what went.
    db->Execute(
        QStringLiteral("Delete Clinical_Area..tbCancerCharges Where ChargeSlip = 'G1502C'"));
    Recordset deleted = trail(QStringLiteral("charge deleted"));
    ASSERT_GE(deleted.RecordCount(), 1);
    EXPECT_EQ(deleted.Fields(QStringLiteral("Login")).toString(), QStringLiteral("postgres"));
    EXPECT_TRUE(deleted.Fields(QStringLiteral("Before"))
                    .toString()
                    .contains(QLatin1String("\"chargeslip\": \"G1502C\"")));
    // And no one edits the trail afterwards, not even the owner's maintenance login.
    EXPECT_FALSE(refusal([&] {
                     db->executeNative(QStringLiteral("DELETE FROM chemodesk_private.audit"));
                 }).isEmpty());
}

TEST_F(ServerSecurity, ARequestNeedsItsRightAndIsInTheTrailUnderItsEmployee)
{
    Recordset patient = db->Execute(QStringLiteral(
        "select top 1 IdNum, HospNum from PATIENT_DATA..tbOutPatient where DcrDate is null "
        "order by IdNum"));
    ASSERT_FALSE(patient.atEnd());
    const QString request =
        QStringLiteral("Clinical_Area..spCancer_AppendCancerLogBook '%1','%2','O','10001',"
                       "'50','2','BID',' ','12/01/2026 02:05:09 PM','PH','',' ','1002',"
                       "'','PARACETAMOL','ON','Y',''")
            .arg(patient.Fields(1).trimmed(), patient.Fields(0).trimmed());
    // 1005 may assess fees but not request medicines.
    auto cashier = test::workstation(*db, QStringLiteral("1005"), QStringLiteral("LORNA1005"));
    EXPECT_EQ(refusal([&] { cashier->Execute(request); }), NoRights);
    auto ws = test::workstation(*db, QStringLiteral("1002"), QStringLiteral("JPV1002"));
    ws->Execute(request);
    Recordset saved = trail(QStringLiteral("request saved"));
    ASSERT_EQ(saved.RecordCount(), 1);
    EXPECT_EQ(saved.Fields(QStringLiteral("EmployeeID")).toString(), QStringLiteral("1002"));
    EXPECT_TRUE(saved.Fields(QStringLiteral("After"))
                    .toString()
                    .contains(QLatin1String("\"itemid\": \"10001\"")));
}

TEST_F(ServerSecurity, ARevocationNeedsTheAssessmentRightAndIsInTheTrailOnce)
{
    Recordset open = db->Execute(QStringLiteral(
        "select top 1 HospNum, RefNum from BILLING..tbCashAssessment where ORNumber is null "
        "and isnull(Revoked, 0) = 0 order by RefNum"));
    ASSERT_FALSE(open.atEnd());
    const QString ref = open.Fields(1).trimmed();
    const QString revoke = QStringLiteral("Hemodialysis..spKidney_AssessRevoke '%1','%2','OC'")
                               .arg(open.Fields(0).trimmed(), ref);
    // 1002 requests medicines but has no cash assessment right.
    auto nurse = test::workstation(*db, QStringLiteral("1002"), QStringLiteral("JPV1002"));
    EXPECT_EQ(refusal([&] { nurse->Execute(revoke); }), NoRights);
    auto ws = test::workstation(*db, QStringLiteral("1001"), QStringLiteral("ROSE1001"));
    ws->Execute(revoke);
    Recordset revoked = trail(QStringLiteral("assessment revoked"));
    ASSERT_GE(revoked.RecordCount(), 1);
    EXPECT_EQ(revoked.Fields(QStringLiteral("EmployeeID")).toString(), QStringLiteral("1001"));
    EXPECT_TRUE(revoked.Fields(QStringLiteral("After")).toString().contains(ref));
    // The row held before the check is no change of its own.
    EXPECT_EQ(trail(QStringLiteral("assessment changed")).RecordCount(), 0);
}

TEST_F(ServerSecurity, TheSignInBindsTheServerSessionAndKeepsNoCodeOrPasswordInItsSettings)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("signin.ini"));
    test::ensureWorkstationLogin(*db);
    const QUrl url(test::asWorkstation(test::lastTarget()));
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("database/kind"), QStringLiteral("postgresql"));
        settings.setValue(QStringLiteral("database/host"), url.host());
        settings.setValue(QStringLiteral("database/port"), url.port(5432));
        settings.setValue(QStringLiteral("database/name"), url.path().mid(1));
        settings.setValue(QStringLiteral("database/user"), url.userName());
        settings.setValue(QStringLiteral("signin/employee"), QStringLiteral("1002"));
    }
    qputenv("CHEMODESK_ACCESS_CODE", "JPV1002");
    CurrentUser user(path);
    user.ShowMain();
    qunsetenv("CHEMODESK_ACCESS_CODE");
    ASSERT_TRUE(user.Connected());
    EXPECT_EQ(user.EmployeeCode(), QStringLiteral("1002"));
    EXPECT_EQ(user.EmployeeName(), QStringLiteral("VILLANUEVA, JOHN PAUL SORIANO"));
    // Bound as 1002, who has no maintenance right.
    EXPECT_EQ(refusal([&] { user.SQLConnection()->Execute(saveRights("1003", "1")); }), NoRights);
    Recordset signedIn = trail(QStringLiteral("sign-in"));
    ASSERT_FALSE(signedIn.atEnd());
    EXPECT_EQ(signedIn.Fields(QStringLiteral("EmployeeID")).toString(), QStringLiteral("1002"));
    EXPECT_EQ(signedIn.Fields(QStringLiteral("Workstation")).toString(),
              QSysInfo::machineHostName());
    // The settings file is the account's own and holds neither code nor password.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_FALSE(text.contains("JPV1002"));
    EXPECT_FALSE(text.toLower().contains("password"));
}

// An upgrade puts the access codes' table where the steps expect it and back behind its view
// inside each step's own transaction. A step that fails leaves the table private and its view
// as the step before left them, and nothing of itself; a workstation reads the employees and
// signs in as before, and never the codes.
TEST_F(ServerSecurity, AnUpgradeStepThatFailsLeavesTheAccessCodesPrivate)
{
    const int version = hospital::schemaVersion();
    auto column = [](const char *name) {
        db::TableDef table;
        table.database = QStringLiteral("PASSWORD");
        table.name = QStringLiteral("tbPasswordMaster");
        table.columns.push_back(db::ColumnDef());
        table.columns.back().name = QLatin1String(name);
        return table;
    };
    const std::vector<db::SchemaStep> steps = {
        {version + 1, {column("Extension")}, {}},
        {version + 2,
         {column("Pager")},
         [](db::HostedConnection &c) { c.executeNative(QStringLiteral("SELECT 1 / 0")); }},
    };
    EXPECT_FALSE(refusal([&] { hospital::applySteps(*db, steps); }).isEmpty());
    EXPECT_EQ(db::storedSchemaVersion(*db), version + 1);

    // One table of that name, private; under the hospital's name only its view.
    Recordset places = db->executeNative(QStringLiteral(
        "SELECT n.nspname || ' ' || c.relkind::text FROM pg_class c JOIN pg_namespace n "
        "ON n.oid = c.relnamespace WHERE c.relname = 'tbpasswordmaster' ORDER BY 1"));
    QStringList found;
    for (; !places.atEnd(); places.MoveNext())
        found << places.Fields(0).toString();
    EXPECT_EQ(found,
              QStringList({QStringLiteral("chemodesk_private r"), QStringLiteral("password v")}));
    auto columns = [&](const char *schema) {
        QStringList names;
        for (Recordset rs = db->executeNative(
                 QStringLiteral("SELECT column_name FROM information_schema.columns WHERE "
                                "table_schema = '%1' AND table_name = 'tbpasswordmaster'")
                     .arg(QLatin1String(schema)));
             !rs.atEnd(); rs.MoveNext())
            names << rs.Fields(0).toString();
        return names;
    };
    EXPECT_TRUE(columns("chemodesk_private").contains(QStringLiteral("extension")));
    EXPECT_TRUE(columns("password").contains(QStringLiteral("extension")));
    EXPECT_FALSE(columns("password").contains(QStringLiteral("accesscode")));
    EXPECT_FALSE(columns("chemodesk_private").contains(QStringLiteral("pager")));

    auto ws = test::workstation(*db, QStringLiteral("1002"), QStringLiteral("JPV1002"));
    Recordset employee = ws->Execute(
        QStringLiteral("SELECT * FROM PASSWORD..tbPasswordMaster WHERE EmployeeID = '1002'"));
    ASSERT_FALSE(employee.atEnd());
    EXPECT_FALSE(
        employee.ColumnNames().contains(QStringLiteral("accesscode"), Qt::CaseInsensitive));
    EXPECT_FALSE(refusal([&] {
                     ws->executeNative(QStringLiteral(
                         "SELECT accesscode FROM chemodesk_private.tbpasswordmaster"));
                 }).isEmpty());
    // Bound by its code, as before: 1002 has no maintenance right.
    EXPECT_EQ(refusal([&] { ws->Execute(saveRights("1003", "1")); }), NoRights);
    // The employees' trail went with the table.
    db->Execute(QStringLiteral("UPDATE PASSWORD..tbPasswordMaster SET Extension = '204' WHERE "
                               "EmployeeID = '1002'"));
    EXPECT_EQ(trail(QStringLiteral("employee changed")).RecordCount(), 1);
}

} // namespace
