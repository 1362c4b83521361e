// The connection's surface on each engine: record sets, errors, nested
// transactions, the server clock, quoting and numbering under concurrency.

#include "database/procedurehost.h"
#include "database/sqltext.h"
#include "support/enginetest.h"
#include "testpaths.h"

#include <QProcess>
#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

using namespace chemodesk;

namespace {

class ConnectionTest : public test::EngineTest {
protected:
    QString scalar(const QString &text) { return db->Execute(text).Fields(0).toString(); }
};

TEST_P(ConnectionTest, RecordsetReadsByNameWithNullTests)
{
    Recordset rs = db->Execute(QStringLiteral("select top 3 HospNum, null as Nothing, '' as Blank "
                                              "from PATIENT_DATA..tbMaster order by HospNum"));
    EXPECT_EQ(rs.State(), Recordset::adStateOpen);
    EXPECT_EQ(rs.RecordCount(), 3);
    int seen = 0;
    for (; !rs.atEnd(); rs.MoveNext(), ++seen) {
        EXPECT_FALSE(rs.Fields(QStringLiteral("HOSPNUM")).IsNull());
        EXPECT_TRUE(rs.Fields(QStringLiteral("nothing")).IsNull());
        EXPECT_FALSE(rs.Fields(QStringLiteral("Blank")).IsNull());
        EXPECT_EQ(rs.Fields(QStringLiteral("Blank")).toString(), QString());
    }
    EXPECT_EQ(seen, 3);
    EXPECT_THROW(rs.Fields(QStringLiteral("HospNum")), DatabaseError); // past the end
    rs.MoveFirst();
    EXPECT_THROW(rs.Fields(QStringLiteral("NoSuchColumn")), DatabaseError);
    rs.Close();
    EXPECT_EQ(rs.State(), Recordset::adStateClosed);
    EXPECT_TRUE(rs.atEnd());

    Recordset none = db->Execute(
        QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = LastName WHERE 1 = 0"));
    EXPECT_EQ(none.State(), Recordset::adStateClosed);
}

TEST_P(ConnectionTest, ErrorsCarryTheEngineMessageAndLoseNothing)
{
    db->BeginTrans();
    db->Execute(
        QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = 'KEPT' WHERE HospNum = "
                       "(SELECT min(HospNum) FROM PATIENT_DATA..tbMaster)"));
    try {
        db->Execute(QStringLiteral("select NoSuchColumn from PATIENT_DATA..tbMaster"));
        FAIL() << "no error raised";
    } catch (const DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("nosuchcolumn"), Qt::CaseInsensitive))
            << e.what();
    }
    if (GetParam() == "postgresql") {
        // The engine aborts the whole transaction on an error; the screen's
        // handler rolls back, which must leave the connection usable.
        db->RollbackTrans();
        EXPECT_EQ(scalar(QStringLiteral(
                      "select count(*) from PATIENT_DATA..tbMaster where LastName = 'KEPT'")),
                  QStringLiteral("0"));
    } else {
        db->CommitTrans();
        EXPECT_EQ(scalar(QStringLiteral(
                      "select count(*) from PATIENT_DATA..tbMaster where LastName = 'KEPT'")),
                  QStringLiteral("1"));
    }
    EXPECT_EQ(db->TransactionDepth(), 0);
}

TEST_P(ConnectionTest, NestedTransactionsUndoOnlyTheInnerUnit)
{
    const QString count = QStringLiteral(
        "select count(*) from PATIENT_DATA..tbMaster where LastName in ('OUTER', 'INNER')");
    const QString first = scalar(QStringLiteral("select min(HospNum) from PATIENT_DATA..tbMaster"));
    const QString last = scalar(QStringLiteral("select max(HospNum) from PATIENT_DATA..tbMaster"));
    db->BeginTrans();
    db->Execute(
        QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = 'OUTER' WHERE HospNum = '%1'")
            .arg(first));
    {
        Transaction inner(*db);
        db->Execute(QStringLiteral(
                        "UPDATE PATIENT_DATA..tbMaster SET LastName = 'INNER' WHERE HospNum = '%1'")
                        .arg(last));
        EXPECT_EQ(db->TransactionDepth(), 2);
    } // not committed: rolled back to its savepoint
    EXPECT_EQ(db->TransactionDepth(), 1);
    db->CommitTrans();
    EXPECT_EQ(scalar(count), QStringLiteral("1"));

    db->BeginTrans();
    db->Execute(
        QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = 'INNER' WHERE HospNum = '%1'")
            .arg(last));
    db->RollbackTrans();
    EXPECT_EQ(scalar(count), QStringLiteral("1"));
    EXPECT_THROW(db->CommitTrans(), DatabaseError);
    EXPECT_THROW(db->RollbackTrans(), DatabaseError);
}

TEST_P(ConnectionTest, ServerClockCanBeFixedOrOffset)
{
    const QString text =
        QStringLiteral("Select GetDate() As ServerDate From Patient_Data..tbHospitalInfo");
    const QDateTime saturdayEvening(QDate(2026, 12, 12), QTime(18, 0, 0));
    db->setClockFixed(saturdayEvening);
    EXPECT_EQ(db->Execute(text).Fields(QStringLiteral("ServerDate")).toDateTime(), saturdayEvening);
    db->setClockOffset(-86400);
    const QDateTime yesterday = db->Execute(text).Fields(QStringLiteral("ServerDate")).toDateTime();
    EXPECT_LE(qAbs(yesterday.secsTo(QDateTime::currentDateTime().addDays(-1))), 5);
    db->clearClock();
    EXPECT_LE(qAbs(db->serverNow().secsTo(QDateTime::currentDateTime())), 5);
}

// Whatever is typed, the stored value equals it and no other row changes.
TEST_P(ConnectionTest, QuotedValuesNeitherBreakNorChangeStatements)
{
    const QStringList values = {
        QStringLiteral("O'Brien"),
        QStringLiteral("'; DELETE FROM PATIENT_DATA..tbMaster; --"),
        QStringLiteral("x' OR '1'='1"),
        QStringLiteral("-- not a comment"),
        QStringLiteral("/* nor this */"),
        QStringLiteral("[bracket] \"double\" `back` \\ backslash %_ like chars"),
        QStringLiteral("12/25/2026 is a date but typed as text?"),
        QString::fromUtf8("Peña Ñiño — 患者 ✓"),
        QStringLiteral("''"),
        QString(10240, QLatin1Char('\'')),
        QString(10240, QLatin1Char('A')),
    };
    const QString snapshot =
        QStringLiteral("select HospNum, LastName from PATIENT_DATA..tbMaster order by HospNum");
    auto rows = [&] {
        QStringList out;
        for (Recordset rs = db->Execute(snapshot); !rs.atEnd(); rs.MoveNext())
            out << rs.Fields(0).toString() + QLatin1Char('=') + rs.Fields(1).toString();
        return out;
    };
    const QString target =
        scalar(QStringLiteral("select min(HospNum) from PATIENT_DATA..tbMaster"));
    for (const QString &value : values) {
        EXPECT_EQ(
            scalar(QStringLiteral("select '") + sql::escape(value) + QStringLiteral("' as Echo")),
            value);
        EXPECT_NO_THROW(db->Execute(sql::call(QStringLiteral("Clinical_Area"),
                                              QStringLiteral("spCancer_GetPatient"),
                                              {QStringLiteral("I"), value, QString(), QString()})));
        if (value.size() > 40) // wider than the column: the engine rightly refuses to store it
            continue;
        const QStringList before = rows();
        db->Execute(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = '") +
                    sql::escape(value) + QStringLiteral("' WHERE HospNum = '") +
                    sql::escape(target) + QLatin1Char('\''));
        const QString stored =
            scalar(QStringLiteral("select LastName from PATIENT_DATA..tbMaster where HospNum = ") +
                   sql::quote(target));
        EXPECT_EQ(stored, value) << value.left(60).toStdString();
        const QStringList after = rows();
        ASSERT_EQ(after.size(), before.size());
        for (int i = 0; i < before.size(); ++i) {
            if (!before.at(i).startsWith(target + QLatin1Char('='))) {
                EXPECT_EQ(after.at(i), before.at(i));
            }
        }
        EXPECT_EQ(
            scalar(QStringLiteral("select count(*) from PATIENT_DATA..tbMaster where LastName = ") +
                   sql::quote(value)),
            QStringLiteral("1"));
    }
}

// Every workstation draws its own charge-slip number: run the drawing in
// separate processes on one database and expect distinct, consecutive numbers.
// A text shaped like a date stays the text typed; a date column reads it as a date.
TEST_P(ConnectionTest, DateShapedTextsStayTextsOutsideDateColumns)
{
    const QString slip =
        scalar(QStringLiteral("select min(ChargeID) from CLINICAL_AREA..tbCancerCharges"));
    ASSERT_FALSE(slip.isEmpty());
    db->Execute(QStringLiteral("update CLINICAL_AREA..tbCancerCharges set CancelReason = "
                               "'12/10/2026', CancelDate = '12/10/2026 03:00:00 PM' where "
                               "ChargeID = %1")
                    .arg(slip));
    Recordset rs = db->Execute(QStringLiteral("select CancelReason, CancelDate from "
                                              "CLINICAL_AREA..tbCancerCharges where ChargeID = %1")
                                   .arg(slip));
    EXPECT_EQ(rs.Fields(0).toString(), QStringLiteral("12/10/2026"));
    EXPECT_EQ(rs.Fields(1).toString(), QStringLiteral("2026-12-10 15:00:00"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from CLINICAL_AREA..tbCancerCharges where "
                                    "CancelReason = '12/10/2026' and CancelDate between "
                                    "'12/10/2026' and '12/10/2026 11:59:59 PM'")),
              QStringLiteral("1"));
}

// Texts that differ only in their values share a translation: each still
// reads and stores its own values, dates, bits, counts and patterns included.
TEST_P(ConnectionTest, TextsOfOneShapeKeepTheirOwnValues)
{
    for (const char *value :
         {"", " a ", "O'Brien", "0012", "1e5", "5.00", "12/10/2026", "true", "Ñoño", "?1", "$1"})
        EXPECT_EQ(
            scalar(
                QStringLiteral("select '%1' as Echo").arg(sql::escape(QString::fromUtf8(value)))),
            QString::fromUtf8(value));
    EXPECT_EQ(scalar(QStringLiteral("select 5.00 * 2 as X")).toDouble(), 10.0);
    EXPECT_EQ(scalar(QStringLiteral("select 7 * 2 as X")), QStringLiteral("14"));
    EXPECT_EQ(scalar(QStringLiteral("select 7 / 2 as X")), QStringLiteral("3"));
    EXPECT_EQ(scalar(QStringLiteral("select 7.0 / 2 as X")).toDouble(), 3.5);

    const QString slip =
        scalar(QStringLiteral("select min(ChargeID) from CLINICAL_AREA..tbCancerCharges"));
    const QString update = QStringLiteral("update CLINICAL_AREA..tbCancerCharges set CancelReason "
                                          "= '%1', CancelDate = '%2' where ChargeID = %3");
    const QString read = QStringLiteral("select CancelReason, CancelDate from "
                                        "CLINICAL_AREA..tbCancerCharges where ChargeID = %1")
                             .arg(slip);
    const struct {
        const char *reason, *date, *stored;
    } updates[] = {
        {"12/10/2026", "12/10/2026 03:00:00 PM", "2026-12-10 15:00:00"},
        {"01/05/2027", "01/05/2027", "2027-01-05 00:00:00"},
        {"x", "2027-02-03 04:05:06", "2027-02-03 04:05:06"},
    };
    for (const auto &u : updates) {
        db->Execute(update.arg(QLatin1String(u.reason), QLatin1String(u.date), slip));
        Recordset rs = db->Execute(read);
        EXPECT_EQ(rs.Fields(0).toString(), QLatin1String(u.reason));
        EXPECT_EQ(rs.Fields(1).toString(), QLatin1String(u.stored));
    }

    for (int n : {1, 3, 2})
        EXPECT_EQ(db->Execute(QStringLiteral("select top %1 HospNum from PATIENT_DATA..tbMaster "
                                             "where HospNum > '0' order by HospNum")
                                  .arg(n))
                      .RecordCount(),
                  n);
    const QString likeCount = QStringLiteral(
        "select count(*) from PATIENT_DATA..tbMaster where LastName like '%1%' and HospNum > '%2'");
    const QString name =
        scalar(QStringLiteral("select min(LastName) from PATIENT_DATA..tbMaster")).left(3);
    const QString all = scalar(likeCount.arg(name.toLower(), QStringLiteral("0")));
    EXPECT_NE(all, QStringLiteral("0"));
    EXPECT_EQ(scalar(likeCount.arg(name.toUpper(), QStringLiteral("0"))), all);
    EXPECT_EQ(scalar(likeCount.arg(name.left(1) + name.mid(1).toLower(), QStringLiteral("00"))),
              all);
    EXPECT_EQ(scalar(likeCount.arg(QStringLiteral("zzzq"), QStringLiteral("0"))),
              QStringLiteral("0"));
    const QString bits = QStringLiteral("select count(*) from Build_File..tbcoHolidays where "
                                        "isFixed = '%1' and HolidayName > '%2'");
    const int fixed = scalar(bits.arg(QStringLiteral("1"), QString())).toInt();
    EXPECT_EQ(scalar(bits.arg(QStringLiteral("true"), QString())).toInt(), fixed);
    EXPECT_EQ(scalar(bits.arg(QStringLiteral("false"), QString())).toInt() + fixed,
              scalar(QStringLiteral("select count(*) from Build_File..tbcoHolidays")).toInt());
}

// A repeated text is prepared with its values bound: each number still has the
// type it has written, whatever the earlier texts of its shape held.
TEST_P(ConnectionTest, RepeatedTextsKeepTheTypesOfTheirNumbers)
{
    const QString text = QStringLiteral("select %1 / 2 as Half, %1 as N, '%2' as T");
    const struct {
        const char *number, *half;
    } cases[] = {{"7", "3"}, {"9", "4"}, {"7.0", "3.5"}, {"5000000000", "2500000000"}, {"7", "3"}};
    for (int round = 0; round < 2; ++round) {
        for (const auto &c : cases) {
            Recordset rs = db->Execute(text.arg(QLatin1String(c.number), QLatin1String(c.half)));
            EXPECT_EQ(rs.Fields(QStringLiteral("Half")).toDouble(), QByteArray(c.half).toDouble())
                << c.number;
            EXPECT_EQ(rs.Fields(QStringLiteral("N")).toDouble(), QByteArray(c.number).toDouble());
            EXPECT_EQ(rs.Fields(QStringLiteral("T")).toString(), QLatin1String(c.half));
        }
    }
}

// A procedure inside the caller's transaction runs without a savepoint of its
// own: when it fails after writing, the transaction can only be undone.
TEST_P(ConnectionTest, AFailedProcedureInsideASaveRefusesItsCommit)
{
    auto &registry = db::ProcedureRegistry::instance();
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("spTest_WritesThenFails"),
                 [](db::ProcedureContext &c, const QStringList &args) -> Recordset {
                     c.exec(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = "
                                           "'HALF' WHERE HospNum = '%1'")
                                .arg(args.at(0)));
                     throw DatabaseError(QStringLiteral("failed after writing"));
                 });
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("spTest_FailsBeforeWriting"),
                 [](db::ProcedureContext &, const QStringList &) -> Recordset {
                     throw DatabaseError(QStringLiteral("refused"));
                 });
    registry.addReadOnly(QStringLiteral("CLINICAL_AREA"), QStringLiteral("spTest_ReadsButWrites"),
                         [](db::ProcedureContext &c, const QStringList &args) -> Recordset {
                             c.exec(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName "
                                                   "= 'WROTE' WHERE HospNum = '%1'")
                                        .arg(args.at(0)));
                             return {};
                         });
    const QString first = scalar(QStringLiteral("select min(HospNum) from PATIENT_DATA..tbMaster"));
    const QString last = scalar(QStringLiteral("select max(HospNum) from PATIENT_DATA..tbMaster"));
    const QString kept = QStringLiteral("select count(*) from PATIENT_DATA..tbMaster where "
                                        "LastName in ('KEPT', 'HALF', 'WROTE')");

    // Alone, a failing call undoes itself.
    EXPECT_THROW(
        db->Execute(QStringLiteral("Clinical_Area..spTest_WritesThenFails '%1'").arg(first)),
        DatabaseError);
    EXPECT_EQ(db->TransactionDepth(), 0);
    EXPECT_EQ(scalar(kept), QStringLiteral("0"));

    db->BeginTrans();
    db->Execute(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = 'KEPT' WHERE "
                               "HospNum = '%1'")
                    .arg(last));
    EXPECT_THROW(
        db->Execute(QStringLiteral("Clinical_Area..spTest_WritesThenFails '%1'").arg(first)),
        DatabaseError);
    EXPECT_THROW(db->CommitTrans(), DatabaseError);
    EXPECT_EQ(db->TransactionDepth(), 0);
    EXPECT_EQ(scalar(kept), QStringLiteral("0"));

    // A call that failed before changing anything leaves the save to go on.
    db->BeginTrans();
    db->Execute(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET LastName = 'KEPT' WHERE "
                               "HospNum = '%1'")
                    .arg(last));
    EXPECT_THROW(db->Execute(QStringLiteral("Clinical_Area..spTest_FailsBeforeWriting")),
                 DatabaseError);
    if (db->dialect() == db::Dialect::SQLite) {
        db->CommitTrans();
        EXPECT_EQ(scalar(kept), QStringLiteral("1"));
    } else {
        db->RollbackTrans();
    }

    // A procedure registered as reading only is refused a write, which is undone.
    EXPECT_THROW(
        db->Execute(QStringLiteral("Clinical_Area..spTest_ReadsButWrites '%1'").arg(first)),
        DatabaseError);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PATIENT_DATA..tbMaster where LastName = "
                                    "'WROTE'")),
              QStringLiteral("0"));
}

// 'true' and 'false' against a bit column are 1 and 0, as the server reads them.
TEST_P(ConnectionTest, TrueAndFalseAreBitValues)
{
    const QString fixed =
        scalar(QStringLiteral("select count(*) from Build_File..tbcoHolidays where isFixed = 1"));
    ASSERT_NE(fixed, QStringLiteral("0"));
    EXPECT_EQ(db->Execute(QStringLiteral("Select * from Build_File..tbcoHolidays where isFixed = "
                                         "'true'"))
                  .RecordCount(),
              fixed.toInt());
    db->Execute(QStringLiteral("insert into Build_File..tbcoHolidays (HolidayDate, HolidayName, "
                               "isFixed) values ('01/02/2031', 'Test', 'True')"));
    db->Execute(QStringLiteral("update Build_File..tbcoHolidays set isFixed = 'false' where "
                               "HolidayName = 'Test' and isFixed = 'TRUE'"));
    EXPECT_EQ(scalar(QStringLiteral("select isFixed from Build_File..tbcoHolidays where "
                                    "HolidayDate = '01/02/2031'")),
              QStringLiteral("0"));
}

// Texts compare, group and sort without regard to case, every letter folded.
TEST_P(ConnectionTest, TextsCompareWithoutRegardToCase)
{
    const QString first = scalar(QStringLiteral("select min(HospNum) from PATIENT_DATA..tbMaster"));
    const QString second = scalar(
        QStringLiteral("select min(HospNum) from PATIENT_DATA..tbMaster where HospNum > '%1'")
            .arg(first));
    const QString third = scalar(
        QStringLiteral("select min(HospNum) from PATIENT_DATA..tbMaster where HospNum > '%1'")
            .arg(second));
    auto set = [&](const QString &hospNum, const QString &lastName, const QString &town) {
        db->Execute(QString::fromUtf8("update PATIENT_DATA..tbMaster set LastName = '%1', Town = "
                                      "'%2' where HospNum = '%3'")
                        .arg(lastName, town, hospNum));
    };
    set(first, QString::fromUtf8("ZZPEÑAFLOR"), QStringLiteral("zzQuezon"));
    set(second, QString::fromUtf8("zzpeñaflor"), QStringLiteral("ZZQUEZON"));
    set(third, QStringLiteral("zzpas"), QStringLiteral("zzquezon"));
    auto count = [&](const char *where) {
        return scalar(QStringLiteral("select count(*) from PATIENT_DATA..tbMaster where ") +
                      QString::fromUtf8(where))
            .toInt();
    };
    EXPECT_EQ(count("Town = 'ZZQuezon'"), 3);
    EXPECT_EQ(count("Town in ('zzQUEZON', 'x')"), 3);
    EXPECT_EQ(count("LastName = 'ZZPeñaflor'"), 2);
    EXPECT_EQ(count("LastName like 'zzPEñA%'"), 2);
    EXPECT_EQ(count("LastName like 'ZZpeña%'"), 2);
    EXPECT_EQ(count("LastName like '%ÑAFLO_'"), 2);
    EXPECT_EQ(count("LastName not like 'zzpeñ%' and LastName like 'zz%'"), 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from (select Town, count(*) as n from "
                                    "PATIENT_DATA..tbMaster where Town like 'zz%' group by Town) "
                                    "g")),
              QStringLiteral("1"));
    QStringList order;
    for (Recordset rs = db->Execute(QStringLiteral("select LastName from PATIENT_DATA..tbMaster "
                                                   "where HospNum in ('%1', '%2') order by "
                                                   "LastName, HospNum")
                                        .arg(first, third));
         !rs.atEnd(); rs.MoveNext())
        order << rs.Fields(0).toString();
    EXPECT_EQ(order, (QStringList{QStringLiteral("zzpas"), QString::fromUtf8("ZZPEÑAFLOR")}));
}

// A table's name alone lists the table; a procedure's name alone still calls it.
TEST_P(ConnectionTest, TableNameAloneOpensTheTable)
{
    const int rows =
        scalar(QStringLiteral("select count(*) from BUILD_FILE..tbcoHolidays")).toInt();
    ASSERT_GT(rows, 0);
    EXPECT_EQ(db->Execute(QStringLiteral("BUILD_FILE..tbcoHolidays")).RecordCount(), rows);
    EXPECT_EQ(db->Execute(QStringLiteral("Build_File.dbo.TBCOHOLIDAYS")).RecordCount(), rows);
    EXPECT_NO_THROW(
        db->Execute(QStringLiteral("Clinical_Area..spCancer_LoadDischargeNoticeCount")));
}

TEST_P(ConnectionTest, ConcurrentProcessesDrawDistinctConsecutiveNumbers)
{
    const int processes = GetParam() == "postgresql" ? 20 : 2;
    const qlonglong start =
        scalar(QStringLiteral("select ChargeSlip from Clinical_Area..tbGenericChargeslip"))
            .toLongLong();
    const QString target = test::lastTarget();
    db.reset(); // let the other processes have the file to themselves
    std::vector<std::unique_ptr<QProcess>> running;
    for (int i = 0; i < processes; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(CHEMODESK_ADMIN),
                 {QStringLiteral("sql"), target,
                  QStringLiteral("Clinical_Area..spCancer_DrawChargeSlip")});
        running.push_back(std::move(p));
    }
    QSet<QString> drawn;
    for (auto &p : running) {
        ASSERT_TRUE(p->waitForFinished(60000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        const QStringList lines = QString::fromUtf8(p->readAllStandardOutput())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 2);
        drawn.insert(lines.at(1).trimmed());
    }
    QSet<QString> expected;
    for (int i = 0; i < processes; ++i)
        expected.insert(QString::number(start + i));
    EXPECT_EQ(drawn, expected);
}

// PostgreSQL's values as the screens read them: the same forms SQLite gives.
TEST(ServerValues, EachTypeReadsAsOnTheEmbeddedDatabase)
{
    if (!test::backendAvailable("postgresql"))
        GTEST_SKIP() << "no PostgreSQL server for the tests";
    auto connection = test::freshDatabase("postgresql");
    Recordset rs = connection->executeNative(QStringLiteral(
        "SELECT true AS yes, false AS no, 42::int8 AS big, -7::int2 AS small, "
        "1234.5::numeric(12,2) AS amount, 0.25::float8 AS ratio, DATE '2026-12-01' AS day, "
        "TIMESTAMP '2026-12-01 14:05:09.123' AS moment, 'AB '::char(3) AS code, "
        "'O''CAMPO'::varchar AS name, NULL::text AS nothing, '' AS blank"));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_TRUE(rs.Fields(QStringLiteral("yes")).toBool());
    EXPECT_FALSE(rs.Fields(QStringLiteral("no")).toBool());
    EXPECT_FALSE(rs.Fields(QStringLiteral("no")).IsNull());
    EXPECT_EQ(rs.Fields(QStringLiteral("big")).toLongLong(), 42);
    EXPECT_EQ(rs.Fields(QStringLiteral("small")).toLongLong(), -7);
    EXPECT_EQ(rs.Fields(QStringLiteral("amount")).toDouble(), 1234.5);
    EXPECT_EQ(rs.Fields(QStringLiteral("ratio")).toDouble(), 0.25);
    EXPECT_EQ(rs.Fields(QStringLiteral("day")).toString(), QStringLiteral("2026-12-01 00:00:00"));
    EXPECT_EQ(rs.Fields(QStringLiteral("moment")).toDateTime(),
              QDateTime(QDate(2026, 12, 1), QTime(14, 5, 9)));
    EXPECT_EQ(rs.Fields(QStringLiteral("code")).toString(), QStringLiteral("AB "));
    EXPECT_EQ(rs.Fields(QStringLiteral("name")).toString(), QStringLiteral("O'CAMPO"));
    EXPECT_TRUE(rs.Fields(QStringLiteral("nothing")).IsNull());
    EXPECT_FALSE(rs.Fields(QStringLiteral("blank")).IsNull());
    EXPECT_EQ(rs.Fields(QStringLiteral("blank")).toString(), QString());
}

// A server restart or a broken network link drops a workstation's connection
// to the shared server: the next statement makes it again. A reading goes on
// as if nothing happened; a save that was open is refused whole, never half
// kept, and a change outside a transaction is left to the user to check.
TEST(ServerConnection, ALostConnectionIsMadeAgainAndNothingIsHalfSaved)
{
    if (!test::backendAvailable("postgresql"))
        GTEST_SKIP() << "no PostgreSQL server for the tests";
    auto workstation = test::freshDatabase("postgresql");
    // The server's own view, from a database of its own.
    auto server = db::HostedConnection::open(qEnvironmentVariable("CHEMODESK_TEST_PG"));
    auto cutOff = [&] {
        const QString pid = workstation->executeNative(QStringLiteral("SELECT pg_backend_pid()"))
                                .Fields(0)
                                .toString();
        server->executeNative(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
    };
    const QString reading =
        QStringLiteral("Select GetDate() As ServerDate From Patient_Data..tbHospitalInfo");
    const QString lastName =
        QStringLiteral("select LastName from PATIENT_DATA..tbMaster where HospNum = '1000001'");
    const QString before = workstation->Execute(lastName).Fields(0).toString();
    const QString other =
        QStringLiteral("select LastName from PATIENT_DATA..tbMaster where HospNum = '1000002'");
    const QString otherName = workstation->Execute(other).Fields(0).toString();
    auto preparedOnServer = [&] {
        return workstation
            ->executeNative(QStringLiteral("SELECT count(*) FROM pg_prepared_statements"))
            .Fields(0)
            .toLongLong();
    };
    // Repeated, the reading is prepared on the server; lost with the session,
    // it is read again and prepared again on the new one.
    EXPECT_EQ(workstation->Execute(lastName).Fields(0).toString(), before);
    EXPECT_GT(preparedOnServer(), 0);
    cutOff();
    EXPECT_EQ(workstation->Execute(other).Fields(0).toString(), otherName);
    EXPECT_EQ(preparedOnServer(), 0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(workstation->Execute(lastName).Fields(0).toString(), before);
        EXPECT_EQ(workstation->Execute(other).Fields(0).toString(), otherName);
    }
    EXPECT_GT(preparedOnServer(), 0);

    cutOff();
    EXPECT_FALSE(workstation->Execute(reading).atEnd());
    workstation->setCommandTimeout(5);

    const QString change = QStringLiteral(
        "UPDATE PATIENT_DATA..tbMaster SET LastName = 'HALF' WHERE HospNum = '1000001'");
    workstation->BeginTrans();
    workstation->Execute(change);
    cutOff();
    try {
        workstation->Execute(reading);
        ADD_FAILURE() << "the lost transaction went unnoticed";
    } catch (const DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("was not saved")))
            << e.message().toStdString();
    }
    EXPECT_EQ(workstation->TransactionDepth(), 0);
    EXPECT_EQ(workstation->Execute(lastName).Fields(0).toString(), before);
    // The session's settings came back with the connection.
    EXPECT_EQ(
        workstation->executeNative(QStringLiteral("SHOW statement_timeout")).Fields(0).toString(),
        QStringLiteral("5s"));

    cutOff();
    EXPECT_THROW(workstation->Execute(change), DatabaseError);
    EXPECT_FALSE(workstation->Execute(reading).atEnd());

    // While the server refuses the workstation, it says so, and further
    // statements fail at once rather than wait on the server each time.
    const QString name = QUrl(test::lastTarget()).path().mid(1);
    server->executeNative(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(name));
    cutOff();
    for (const char *expected : {"cannot be made again", "cannot be reached"}) {
        try {
            workstation->Execute(reading);
            ADD_FAILURE() << "a refused connection went unnoticed";
        } catch (const DatabaseError &e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(expected))) << e.message().toStdString();
        }
    }
    server->executeNative(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(name));
}

// Values bound to a fixed text's places arrive as given, whatever they hold,
// and the same text serves every set of them.
TEST_P(ConnectionTest, BoundValuesComeBackAsGiven)
{
    const QString insert = QStringLiteral(
        "INSERT INTO CLINICAL_AREA..tbCancerRequest (RequestNum, HospNum, IdNum, ItemID, Amount, "
        "RequestDate, RequestType, UserID, Remarks, Reference) "
        "VALUES (?, 'H1', ?, 'ITEM', ?, ?, 'PH', 'U1', ?, ?)");
    struct Case {
        QString idNum;
        db::Value amount;
        QString date;
        db::Value remarks;
        QString reference;
        double storedAmount;
        QString storedDate;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("B1"), 91.5, QStringLiteral("2026-12-01 08:00:00"),
         QStringLiteral("O'BRIEN's ''doubled''"), QStringLiteral("?"), 91.5,
         QStringLiteral("2026-12-01 08:00:00")},
        // A date typed as the screens type it is stored as a written one would be.
        {QStringLiteral("007"), db::Value::number(QStringLiteral("-2")),
         QStringLiteral("12/01/2026 08:00:01 PM"), db::Value(), QString(), -2,
         QStringLiteral("2026-12-01 20:00:01")},
        {QStringLiteral("B3"), 0, QStringLiteral("2026-12-02 00:00:00"),
         QStringLiteral("NU\u00d1EZ -- no comment /* nor this */"),
         QStringLiteral("'; DELETE FROM x; --"), 0, QStringLiteral("2026-12-02 00:00:00")},
    };
    QStringList traced;
    db->setEngineTrace([&traced](const QString &sql) { traced << sql; });
    int number = 900;
    for (const Case &c : cases) {
        const db::Value values[] = {number++, c.idNum, c.amount, c.date, c.remarks, c.reference};
        db->executeBound(insert, values, std::size(values));
    }
    db->setEngineTrace({});
    // The engine's statements read with the values written in.
    const QString all = traced.join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QLatin1String("'O''BRIEN''s ''''doubled''''', '?'")))
        << all.toStdString();
    EXPECT_TRUE(all.contains(QLatin1String("NULL")));

    const QString read = QStringLiteral("SELECT IdNum, Amount, RequestDate, Remarks, Reference "
                                        "FROM CLINICAL_AREA..tbCancerRequest WHERE IdNum = ?");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.idNum.toStdString());
        const db::Value id[] = {c.idNum};
        Recordset rs = db->executeBound(read, id, 1);
        ASSERT_EQ(rs.RecordCount(), 1);
        EXPECT_EQ(rs.Fields(0).toString(), c.idNum);
        EXPECT_DOUBLE_EQ(rs.Fields(1).toDouble(), c.storedAmount);
        EXPECT_EQ(rs.Fields(2).toString(), c.storedDate);
        EXPECT_EQ(rs.Fields(3).IsNull(), c.remarks.isNull());
        EXPECT_EQ(rs.Fields(3).toString(), c.remarks.text());
        EXPECT_FALSE(rs.Fields(4).IsNull());
        EXPECT_EQ(rs.Fields(4).toString(), c.reference);
    }

    // One place, a number one time and a text the next: each read as what it is.
    const QString echo = QStringLiteral("SELECT ? AS V");
    const db::Value seven[] = {7}, text[] = {QStringLiteral("007")};
    EXPECT_EQ(db->executeBound(echo, seven, 1).Fields(0).Value(), QVariant(qlonglong(7)));
    EXPECT_EQ(db->executeBound(echo, text, 1).Fields(0).Value(), QVariant(QStringLiteral("007")));

    // A place the translation reads by its value (a LIKE pattern) still finds what the
    // written text finds.
    const QString like =
        QStringLiteral("SELECT count(*) FROM PATIENT_DATA..tbMaster WHERE LastName LIKE ?");
    for (const QString &pattern : {QStringLiteral("A%"), QStringLiteral("B%")}) {
        const db::Value values[] = {pattern};
        EXPECT_EQ(db->executeBound(like, values, 1).Fields(0).toLongLong(),
                  db->Execute(QStringLiteral("SELECT count(*) FROM PATIENT_DATA..tbMaster WHERE "
                                             "LastName LIKE %1")
                                  .arg(sql::quote(pattern)))
                      .Fields(0)
                      .toLongLong());
    }

    const db::Value one[] = {1};
    EXPECT_THROW(db->executeBound(QStringLiteral("SELECT ? AS A, ? AS B"), one, 1), DatabaseError);
}

// A procedure's bound texts inside the screen's transaction, repeated on the
// server until they are prepared there, each call with its own values.
TEST_P(ConnectionTest, AProcedureBindsItsValues)
{
    auto &registry = db::ProcedureRegistry::instance();
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("spTest_Bound"),
                 [](db::ProcedureContext &c, const QStringList &args) -> Recordset {
                     c.exec(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET MiddleName = ? "
                                           "WHERE HospNum = ?"),
                            {db::Value::orNull(args.at(1)), args.at(0)});
                     return c.query(QStringLiteral("SELECT MiddleName FROM "
                                                   "PATIENT_DATA..tbMaster WHERE HospNum = ?"),
                                    {args.at(0)});
                 });
    Recordset patients = db->Execute(
        QStringLiteral("select top 4 HospNum from PATIENT_DATA..tbMaster order by HospNum"));
    const QStringList middle = {QStringLiteral("D'ANGELO"), QString(), QStringLiteral("?'?"),
                                QStringLiteral("X")};
    db->BeginTrans();
    for (const QString &m : middle) {
        const QString hospNum = patients.Fields(0).toString();
        patients.MoveNext();
        Recordset rs = db->Execute(sql::call(QStringLiteral("Clinical_Area"),
                                             QStringLiteral("spTest_Bound"), {hospNum, m}));
        EXPECT_EQ(rs.Fields(0).IsNull(), m.isEmpty());
        EXPECT_EQ(rs.Fields(0).toString(), m);
    }
    db->CommitTrans();
}

CHEMODESK_ENGINE_TESTS(ConnectionTest);

} // namespace
