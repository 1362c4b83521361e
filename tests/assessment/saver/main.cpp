// Saves one cash assessment on the database named by its first argument, as
// one workstation would, and prints its reference number. Tests start many of
// these at once against one server.
//   assessment-saver DB HOSPNUM

#include "assessment/assessmentsave.h"
#include "hospitaldb/database.h"

#include <QCoreApplication>

#include <cstdio>

using namespace chemodesk;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: assessment-saver DB HOSPNUM\n");
        return 2;
    }
    try {
        auto connection = hospital::openDatabase(args.at(1));
        assessment::AssessmentHeader header;
        header.patientName = QStringLiteral("REYES, CARMELA");
        header.hospNum = args.at(2);
        header.doctorId = QStringLiteral("0");
        header.employeeCode = QStringLiteral("1005");
        header.remarks = QStringLiteral("WALK-IN");
        const std::vector<assessment::AssessmentLine> lines{
            {QStringLiteral("LB"), QStringLiteral("1001"),
             QStringLiteral("COMPLETE BLOOD COUNT (CBC)"), QStringLiteral("350.00"),
             QStringLiteral("1"), QStringLiteral("350.00"), QString()},
            {QStringLiteral("PH"), QStringLiteral("10001"),
             QStringLiteral("PARACETAMOL 500MG TABLET"), QStringLiteral("5.00"),
             QStringLiteral("10"), QStringLiteral("50.00"), QStringLiteral("20")}};
        const QString ref = assessment::saveAssessment(*connection, header, lines);
        std::printf("%s\n", qPrintable(ref));
        return 0;
    } catch (const DatabaseError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
