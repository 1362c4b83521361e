// The procedures behind the patient list, the registration look-up, the
// access-code check and the charge slip, on every engine, against the demo
// data (dated 2026-12-01).

#include "database/sqltext.h"
#include "hospitaldb/hospitaldb.h"
#include "platform/patientlistrows.h"
#include "session/scrambler.h"
#include "support/enginetest.h"

#include <QDateTime>
#include <QSet>

#include <gtest/gtest.h>

#include <vector>

using namespace chemodesk;

namespace {

const QDateTime Now(QDate(2026, 12, 1), QTime(10, 30, 0));

class PatientProcedureTest : public test::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!db)
            return;
        db->setClockFixed(Now);
    }
    Recordset run(const QString &text) { return db->Execute(text); }
    // The admission numbers of a list, by the column the list reads.
    QSet<QString> ids(Recordset rs, const char *column)
    {
        QSet<QString> out;
        for (; !rs.atEnd(); rs.MoveNext())
            out.insert(rs.Fields(QString::fromLatin1(column)).toString());
        return out;
    }
};

// As the patient list sends it: the mode and the three search boxes.
QString patientList(const char *mode, const char *lastName, const char *hospNum, const char *idNum)
{
    return QStringLiteral("Clinical_Area..spCancer_GetPatient '") + QLatin1String(mode) +
           QStringLiteral("','") + sql::escape(QString::fromUtf8(lastName)) +
           QStringLiteral("','") + sql::escape(QString::fromUtf8(hospNum)) + QStringLiteral("','") +
           sql::escape(QString::fromUtf8(idNum)) + QLatin1Char('\'');
}

// As the registration look-up and its picker send it (a blank before the text).
QString registeredOpd(const char *current, const char *kind, const QString &text)
{
    return QStringLiteral("BILLING..spGlobal_RegisteredOPD '") + QLatin1String(current) +
           QStringLiteral("','") + QLatin1String(kind) + QStringLiteral("', '") +
           sql::escape(text) + QLatin1Char('\'');
}

TEST_P(PatientProcedureTest, PatientListModesAndSearchBoxes)
{
    struct Case {
        const char *mode, *lastName, *hospNum, *idNum;
        int rows;
        QStringList listed;
        QStringList notListed;
    };
    const Case cases[] = {
        // Each mode lists its own class only: current admissions, previous
        // admissions, walk-in cash patients, current and previous out-patients.
        {"I", "", "", "", 60, {"261001", "261010", "261018"}, {"261061", "2650001B", "2650062B"}},
        {"T", "", "", "", 35, {"261061", "261081"}, {"261001", "2650002B"}},
        {"C", "", "", "", 24, {"2650062B"}, {"2650061B", "2650001B", "261001"}},
        // A walk-in who has gone home is found once a box narrows the search.
        {"C", "SAMONTE", "", "", 1, {"2650061B"}, {}},
        {"O",
         "",
         "",
         "",
         60,
         {"2650001B", "2650005B", "2650047B"},
         {"2650002B", "2650062B", "261001"}},
        {"D", "", "", "", 30, {"2650002B", "2650006B"}, {"2650001B", "2650061B", "261061"}},
        // The search boxes narrow, each by its first letters, together.
        {"I", "SANTOS", "", "", 4, {"261017", "261035", "261038", "261053"}, {}},
        {"I", "SANTOS", "100003", "", 2, {"261035", "261038"}, {}},
        {"I", "", "1000018", "", 1, {"261018"}, {}},
        {"I", "", "", "261018", 1, {"261018"}, {}},
        {"I", "", "", "2650001B", 0, {}, {}},
        {"I", "O'C", "", "", 1, {"261018"}, {}},
        {"O", "O'C", "", "", 1, {"2650047B"}, {}},
        // A discharged patient is found only among previous admissions.
        {"I", "", "1000171", "", 0, {}, {}},
        {"T", "", "1000171", "", 1, {"261081"}, {}},
    };
    for (const Case &c : cases) {
        const QString text = patientList(c.mode, c.lastName, c.hospNum, c.idNum);
        SCOPED_TRACE(text.toStdString());
        Recordset rs = run(text);
        for (const char *column :
             {"Hospital #", "Admission #", "Patient Name", "admission date", "Billing Date"})
            EXPECT_TRUE(rs.HasField(QString::fromLatin1(column))) << column;
        EXPECT_EQ(rs.RecordCount(), c.rows);
        const QSet<QString> listed = ids(rs, "Admission #");
        for (const QString &id : c.listed)
            EXPECT_TRUE(listed.contains(id)) << id.toStdString();
        for (const QString &id : c.notListed)
            EXPECT_FALSE(listed.contains(id)) << id.toStdString();
    }
}

TEST_P(PatientProcedureTest, PatientListRowsShowDatesAndKeepNullBillingDates)
{
    Recordset rs = run(patientList("I", "", "", "261018"));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("Hospital #")).toString(), QStringLiteral("1000018"));
    EXPECT_TRUE(
        rs.Fields(QStringLiteral("Patient Name")).toString().startsWith(QStringLiteral("O'CAMPO")));
    EXPECT_EQ(rs.Fields(QStringLiteral("admission date")).toString(), QStringLiteral("11/26/2026"));
    EXPECT_TRUE(rs.Fields(QStringLiteral("Billing Date")).IsNull());

    rs = run(patientList("I", "", "", "261010"));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("Billing Date")).toString(), QStringLiteral("12/01/2026"));

    rs = run(patientList("T", "", "", "261081"));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("admission date")).toString(), QStringLiteral("04/23/2026"));
    EXPECT_EQ(rs.Fields(QStringLiteral("Billing Date")).toString(), QStringLiteral("04/29/2026"));
}

// The list read in its order by a plain query, every match and nothing
// bounded: what each mode must show, the first rows of it, however the
// procedure reads them.
QStringList expectedList(Recordset rs)
{
    QStringList out;
    for (; !rs.atEnd(); rs.MoveNext())
        out << rs.Fields(QStringLiteral("IdNum")).toString();
    return out;
}

QStringList listed(Recordset rs)
{
    QStringList out;
    for (; !rs.atEnd(); rs.MoveNext())
        out << rs.Fields(QStringLiteral("Admission #")).toString();
    return out;
}

TEST_P(PatientProcedureTest, EachModeListsTheFirstMatchesInTheListsOrder)
{
    // A thousand generated patients besides the demo's: some modes then match
    // more than the list shows.
    hospital::generateRegistrations(*db, 1000);
    struct Case {
        const char *mode, *lastName, *hospNum, *table, *condition;
    };
    const Case cases[] = {
        {"I", "", "", "tbPatient", "R.DcrDate IS NULL"},
        {"I", "SANT", "", "tbPatient", "R.DcrDate IS NULL AND M.LastName LIKE 'SANT%'"},
        {"I", "", "1000", "tbPatient", "R.DcrDate IS NULL AND R.HospNum LIKE '1000%'"},
        {"T", "", "", "tbPatient", "R.DcrDate IS NOT NULL"},
        {"T", "S", "", "tbPatient", "R.DcrDate IS NOT NULL AND M.LastName LIKE 'S%'"},
        {"C", "", "", "tbOutPatient", "R.PatientType = 'W' AND R.DcrDate IS NULL"},
        {"C", "R", "", "tbOutPatient", "R.PatientType = 'W' AND M.LastName LIKE 'R%'"},
        {"C", "", "1", "tbOutPatient", "R.PatientType = 'W' AND R.HospNum LIKE '1%'"},
        {"O", "", "", "tbOutPatient", "R.DcrDate IS NULL AND R.PatientType <> 'W'"},
        {"O", "", "1000", "tbOutPatient",
         "R.DcrDate IS NULL AND R.PatientType <> 'W' AND R.HospNum LIKE '1000%'"},
        {"D", "", "", "tbOutPatient", "R.DcrDate IS NOT NULL AND R.PatientType <> 'W'"},
        {"D", "M", "", "tbOutPatient",
         "R.DcrDate IS NOT NULL AND R.PatientType <> 'W' AND M.LastName LIKE 'M%'"},
    };
    for (const Case &c : cases) {
        const QString text = patientList(c.mode, c.lastName, c.hospNum, "");
        SCOPED_TRACE(text.toStdString());
        const QStringList all = expectedList(
            run(QStringLiteral("SELECT R.IdNum FROM PATIENT_DATA..%1 R INNER JOIN "
                               "PATIENT_DATA..tbMaster M ON M.HospNum = R.HospNum WHERE %2 "
                               "ORDER BY M.LastName, M.FirstName, R.AdmDate DESC, R.IdNum")
                    .arg(QLatin1String(c.table), QLatin1String(c.condition))));
        ASSERT_FALSE(all.isEmpty());
        const QStringList shown = listed(run(text));
        // One more than the list holds, to tell that more match.
        ASSERT_EQ(shown.size(), std::min<qsizetype>(all.size(), platform::PatientListRows + 1));
        EXPECT_EQ(shown, all.mid(0, shown.size()));
    }
}

// The list reads each registration's own copy of its patient's names: the
// database keeps it as the patient master changes, in any order of writing.
TEST_P(PatientProcedureTest, TheListFollowsThePatientMaster)
{
    auto nameIn = [&](const char *mode, const QString &idNum) {
        Recordset rs = run(patientList(mode, "", "", idNum.toUtf8().constData()));
        return rs.atEnd() ? QString() : rs.Fields("Patient Name").toString();
    };
    Recordset first = run(patientList("I", "", "", ""));
    ASSERT_FALSE(first.atEnd());
    const QString admission = first.Fields("Admission #").toString();
    const QString hospNum = first.Fields("Hospital #").toString();
    run(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = 'ZUBIRI' WHERE HospNum = %1")
            .arg(sql::quote(hospNum)));
    EXPECT_TRUE(nameIn("I", admission).startsWith(QLatin1String("ZUBIRI, ")));
    // Put right in its letters' case only: still copied.
    run(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = 'Zubiri' WHERE HospNum = %1")
            .arg(sql::quote(hospNum)));
    EXPECT_TRUE(nameIn("I", admission).startsWith(QLatin1String("Zubiri, ")));

    // A registration written before its patient is listed once the patient is.
    run(QStringLiteral("INSERT INTO PATIENT_DATA..tbOutPatient (IdNum, HospNum, AdmDate, "
                       "PatientType) VALUES ('990001B', 'H-NEW', '2026-12-01 09:00', 'O')"));
    EXPECT_EQ(nameIn("O", QStringLiteral("990001B")), QString());
    run(QStringLiteral("INSERT INTO PATIENT_DATA..tbMaster (HospNum, LastName, FirstName) "
                       "VALUES ('H-NEW', 'ABAD', 'ROSA')"));
    EXPECT_EQ(nameIn("O", QStringLiteral("990001B")), QStringLiteral("ABAD, ROSA "));
    // Moved to another patient's number, it shows that patient.
    run(QStringLiteral("UPDATE PATIENT_DATA..tbOutPatient SET HospNum = %1 WHERE IdNum = "
                       "'990001B'")
            .arg(sql::quote(hospNum)));
    EXPECT_TRUE(nameIn("O", QStringLiteral("990001B")).startsWith(QLatin1String("Zubiri, ")));
    // The patient's number changed, and then the patient taken off: his registrations with him.
    run(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET HospNum = 'H-MOVED' WHERE HospNum = %1")
            .arg(sql::quote(hospNum)));
    EXPECT_EQ(nameIn("I", admission), QString());
    run(QStringLiteral("UPDATE PATIENT_DATA..tbPatient SET HospNum = 'H-MOVED' WHERE IdNum = %1")
            .arg(sql::quote(admission)));
    EXPECT_TRUE(nameIn("I", admission).startsWith(QLatin1String("Zubiri, ")));
    run(QStringLiteral("DELETE FROM PATIENT_DATA..tbMaster WHERE HospNum = 'H-MOVED'"));
    EXPECT_EQ(nameIn("I", admission), QString());
}

// Generated registrations: only the last days' admissions and today's
// out-patients are still in, a few in ten thousand as in a hospital.
TEST_P(PatientProcedureTest, FewGeneratedPatientsAreStillIn)
{
    hospital::generateRegistrations(*db, 10000);
    const auto count = [&](const QString &table, const char *condition) {
        return run(QStringLiteral("SELECT count(*) AS n FROM PATIENT_DATA..%1 WHERE HospNum >= "
                                  "'20000000' AND %2")
                       .arg(table, QLatin1String(condition)))
            .Fields(0)
            .toLongLong();
    };
    const QString admissions = QStringLiteral("tbPatient");
    const QString registrations = QStringLiteral("tbOutPatient");
    const qlonglong in = count(admissions, "DcrDate IS NULL");
    const qlonglong out = count(registrations, "DcrDate IS NULL");
    EXPECT_GE(in, 1);
    EXPECT_LE(in + out, 20); // one in five hundred at most; it was one in a hundred
    // In for at most a week; out-patients still in came today.
    EXPECT_EQ(count(admissions, "DcrDate IS NULL AND AdmDate >= '2026-11-24'"), in);
    EXPECT_EQ(count(registrations, "DcrDate IS NULL AND AdmDate >= '2026-12-01'"), out);
    // Everyone else has gone home, none of them after today.
    EXPECT_EQ(count(admissions, "DcrDate >= '2026-12-02'") +
                  count(registrations, "DcrDate >= '2026-12-02'") +
                  count(admissions, "DcrDate < AdmDate") +
                  count(registrations, "DcrDate < AdmDate"),
              0);
}

TEST_P(PatientProcedureTest, RegisteredOutPatientsByNameOrNumber)
{
    struct Case {
        const char *current, *kind, *text;
        int rows;
        QStringList listed;
    };
    const Case cases[] = {
        {"0", "1", "2650001B", 1, {"2650001B"}},
        {"0", "1", "2650002B", 1, {"2650002B"}},
        {"1", "1", "2650002B", 0, {}}, // discharged
        {"0", "1", "265000", 9, {"2650001B", "2650002B", "2650009B"}},
        {"1", "1", "265000", 7, {"2650001B", "2650009B"}},
        {"0", "1", "261018", 0, {}}, // an admission, not a registration
        {"0", "0", "PANGANIBAN", 2, {"2650001B", "2650085B"}},
        {"1", "0", "O'C", 1, {"2650047B"}},
        {"0", "0", "NOSUCHNAME", 0, {}},
    };
    for (const Case &c : cases) {
        const QString text = registeredOpd(c.current, c.kind, QString::fromUtf8(c.text));
        SCOPED_TRACE(text.toStdString());
        Recordset rs = run(text);
        EXPECT_EQ(rs.RecordCount(), c.rows);
        const QSet<QString> listed = ids(rs, "IdNum");
        for (const QString &id : c.listed)
            EXPECT_TRUE(listed.contains(id)) << id.toStdString();
    }
}

TEST_P(PatientProcedureTest, RegisteredOutPatientCarriesTheWholeRecord)
{
    Recordset rs = run(registeredOpd("0", "1", QStringLiteral("2650001B")));
    ASSERT_EQ(rs.RecordCount(), 1);
    const std::vector<std::pair<const char *, const char *>> expected = {
        {"IdNum", "2650001B"},
        {"HospNum", "1000081"},
        {"LastName", "PANGANIBAN"},
        {"FirstName", "FERNANDO"},
        {"MiddleName", "REYES"},
        {"AccountNum", "BAYANIHMO"},
        {"Company", "BAYANIHAN MEDICAL PLAN CORP."},
        {"Sex", "M"},
        {"Age", "55"},
        {"HouseStreet", "BLK 11 LOT 14 VILLA VERDE SUBD."},
        {"Barangay", "GATID"},
        {"Town", "TANAUAN CITY"},
        {"Province", "BATANGAS"},
        {"CivilStatus", "1"},
        {"BirthDate", "04/06/1971"},
    };
    for (const auto &[column, value] : expected)
        EXPECT_EQ(rs.Fields(QString::fromLatin1(column)).toString(), QString::fromUtf8(value))
            << column;
    EXPECT_EQ(rs.Fields(QStringLiteral("AdmDate")).toDateTime(),
              QDateTime(QDate(2026, 11, 29), QTime(9, 45)));
    EXPECT_TRUE(rs.Fields(QStringLiteral("DcrDate")).IsNull());
    EXPECT_TRUE(rs.Fields(QStringLiteral("BillingDate")).IsNull());

    // Completed years: one more only from the birthday on (born 04/06/1971).
    const std::pair<QDate, const char *> ages[] = {{QDate(2027, 4, 5), "55"},
                                                   {QDate(2027, 4, 6), "56"},
                                                   {QDate(2027, 12, 31), "56"},
                                                   {QDate(2028, 1, 1), "56"}};
    for (const auto &[day, age] : ages) {
        db->setClockFixed(QDateTime(day, QTime(0, 0, 1)));
        rs = run(registeredOpd("0", "1", QStringLiteral("2650001B")));
        EXPECT_EQ(rs.Fields(QStringLiteral("Age")).toString(), QLatin1String(age))
            << day.toString(Qt::ISODate).toStdString();
    }
    db->setClockFixed(Now);

    rs = run(registeredOpd("0", "1", QStringLiteral("2650002B")));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("DcrDate")).toDateTime(),
              QDateTime(QDate(2026, 11, 29), QTime(13, 45)));
    EXPECT_EQ(rs.Fields(QStringLiteral("BillingDate")).toDateTime(),
              QDateTime(QDate(2026, 11, 29), QTime(13, 15)));

    // Never filled in at registration; the look-up then shows "1".
    rs = run(registeredOpd("0", "1", QStringLiteral("2650017B")));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("CivilStatus")).toString(), QString());
    // A registration without an account has no company either.
    rs = run(registeredOpd("0", "1", QStringLiteral("2650047B")));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_TRUE(rs.Fields(QStringLiteral("AccountNum")).IsNull());
    EXPECT_TRUE(rs.Fields(QStringLiteral("Company")).IsNull());
}

TEST_P(PatientProcedureTest, UsedChargeSlipsAreFound)
{
    const std::pair<const char *, int> cases[] = {
        {"G1500C", 1}, // a charge with a laboratory request
        {"G1519C", 1}, // the last slip of the demo
        {"G1520C", 0}, // the next to be drawn
        {"K5013C", 0}, // a booklet slip not yet written
        {"G1500C'", 0},
    };
    for (const auto &[slip, rows] : cases) {
        const QString text = QStringLiteral("laboratory..Verifiy_Chargeslip '") +
                             sql::escape(QString::fromUtf8(slip)) + QLatin1Char('\'');
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(run(text).RecordCount(), rows);
    }
}

TEST_P(PatientProcedureTest, InPatientPriceOnlyWhileAdmitted)
{
    const std::pair<const char *, const char *> cases[] = {
        {"261018", "Y"},   // admitted
        {"261010", "Y"},   // billed, not yet discharged
        {"261061", "N"},   // discharged
        {"2650001B", "N"}, // out-patient
        {"999999", "N"},   // unknown
    };
    for (const auto &[id, price] : cases) {
        const QString text = QStringLiteral("SELECT isnull(HEMODIALYSIS.dbo.fn_HemoIPDPrice('") +
                             sql::escape(QString::fromUtf8(id)) +
                             QStringLiteral("'),'N') as IPDPrice");
        SCOPED_TRACE(text.toStdString());
        Recordset rs = run(text);
        ASSERT_EQ(rs.RecordCount(), 1);
        EXPECT_EQ(rs.Fields(QStringLiteral("IPDPrice")).toString(), QString::fromLatin1(price));
    }
}

TEST_P(PatientProcedureTest, AccessCodeCheckForTheUnit)
{
    struct Case {
        const char *user, *code;
        const char *name; // empty: refused
    };
    const Case cases[] = {
        {"1001", "ROSE1001", "DELA CRUZ, ROSARIO MANALO"},
        {"1002", "JPV1002", "VILLANUEVA, JOHN PAUL SORIANO"},
        {"1003", "ANA1003", "BAUTISTA, ANA LIZA PEREZ"},
        {"1004", "MARK1004", "GARCIA, MARK ANTHONY LOPEZ"},
        {"1005", "LORNA1005", "MENDOZA, LORNA ABAD"},
        {"1007", "MARI1007", "AGUILAR, MARICEL TAN"},
        {"1006", "EDGAR1006", ""}, // a pharmacist: not this unit's
        {"1001", "ROSE1002", ""},
        {"1001", "rose1001", ""},
        {"1002", "ROSE1001", ""}, // someone else's code
        {"10'01", "ROSE1001", ""},
        {"", "", ""},
    };
    for (const Case &c : cases) {
        const QString scrambled =
            session::Scramble(QStringLiteral("E"), QString::fromLatin1(session::AccessCodeKey),
                              QString::fromUtf8(c.code))
                .trimmed();
        const QString text = QStringLiteral("Clinical_Area..sp_Check_User_Department_Access '") +
                             sql::escape(QString::fromUtf8(c.user)) + QStringLiteral("','") +
                             sql::escape(scrambled) + QStringLiteral("','") + QStringLiteral("ON") +
                             QLatin1Char('\'');
        SCOPED_TRACE(text.toStdString());
        Recordset rs = run(text);
        const QString expected = QString::fromUtf8(c.name);
        ASSERT_EQ(rs.RecordCount(), expected.isEmpty() ? 0 : 1);
        if (expected.isEmpty())
            continue;
        EXPECT_EQ(rs.Fields(QStringLiteral("LastName")).toString() + QStringLiteral(", ") +
                      rs.Fields(QStringLiteral("FirstName")).toString() + QLatin1Char(' ') +
                      rs.Fields(QStringLiteral("MiddleName")).toString(),
                  expected);
    }
}

TEST_P(PatientProcedureTest, ChargeSlipsAreDrawnInTurn)
{
    const QString draw = QStringLiteral("Clinical_Area..spCancer_DrawChargeSlip");
    Recordset first = run(draw);
    ASSERT_EQ(first.RecordCount(), 1);
    EXPECT_EQ(first.Fields(QStringLiteral("ChargeSlip")).toLongLong(), 1520);
    Recordset second = run(draw);
    ASSERT_EQ(second.RecordCount(), 1);
    EXPECT_EQ(second.Fields(QStringLiteral("ChargeSlip")).toLongLong(), 1521);
    EXPECT_EQ(run(QStringLiteral("select ChargeSlip from Clinical_Area..tbGenericChargeslip"))
                  .Fields(0)
                  .toLongLong(),
              1522);
}

CHEMODESK_ENGINE_TESTS(PatientProcedureTest);

} // namespace
