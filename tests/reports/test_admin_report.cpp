// The IT staff's scheduled reports: chemodesk-admin renders a template with
// the given values, without a window.

#include "support/testdatabase.h"
#include "testpaths.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace chemodesk;

namespace {

struct AdminRun {
    int code = -1;
    QString out;
    QString err;
};

AdminRun admin(const QStringList &args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(CHEMODESK_ADMIN), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(AdminReport, RendersATemplateWithItsValuesToPdfExcelOrText)
{
    auto connection = test::freshDatabase("sqlite");
    connection->setClockFixed(QDateTime(QDate(2026, 12, 1), QTime(16, 30)));
    const QString db = test::lastTarget();
    connection.reset();
    const QString templ = QStringLiteral(CHEMODESK_REPORTS_SOURCE "/CensusReport.rpt");
    const QStringList values = {QStringLiteral("--param"), QStringLiteral("11/27/2026"),
                                QStringLiteral("--param"), QStringLiteral("12/01/2026"),
                                QStringLiteral("--param"), QStringLiteral("HOSPITAL"),
                                QStringLiteral("--param"), QStringLiteral("ADDRESS")};
    const QString base = QFileInfo(db).path() + QLatin1Char('/') + QFileInfo(db).completeBaseName();

    const AdminRun text = admin(QStringList{QStringLiteral("report"), db, templ} + values +
                                QStringList{QStringLiteral("--text")});
    EXPECT_EQ(text.code, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("TOTAL TOTAL PATIENTS SERVED: 33")))
        << text.out.toStdString();

    const AdminRun pdf = admin(QStringList{QStringLiteral("report"), db, templ} + values +
                               QStringList{QStringLiteral("--pdf"), base + QStringLiteral(".pdf")});
    EXPECT_EQ(pdf.code, 0) << pdf.err.toStdString();
    EXPECT_TRUE(pdf.out.startsWith(QStringLiteral("Pages: ")));
    EXPECT_GT(QFileInfo(base + QStringLiteral(".pdf")).size(), 1000);

    const AdminRun xlsx =
        admin(QStringList{QStringLiteral("report"), db, templ} + values +
              QStringList{QStringLiteral("--xlsx"), base + QStringLiteral(".xlsx")});
    EXPECT_EQ(xlsx.code, 0) << xlsx.err.toStdString();
    EXPECT_GT(QFileInfo(base + QStringLiteral(".xlsx")).size(), 1000);

    const QString missing = QStringLiteral(CHEMODESK_REPORTS_SOURCE "/Nothing.rpt");
    const AdminRun bad = admin({QStringLiteral("report"), db, missing, QStringLiteral("--text")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.contains(missing)) << bad.err.toStdString();

    const AdminRun wrong = admin({QStringLiteral("report"), db, templ, QStringLiteral("--param"),
                                  QStringLiteral("someday"), QStringLiteral("--text")});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("StartDate takes a date")))
        << wrong.err.toStdString();
}
