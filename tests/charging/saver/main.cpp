// Saves one charge slip on the database named by its first argument, as one
// workstation would, and prints the slip number. Tests start many of these at
// once against one server.
//   slip-saver DB IDNUM HOSPNUM

#include "charging/chargesave.h"
#include "components/medicinecatalogue.h"
#include "hospitaldb/database.h"

#include <QCoreApplication>

#include <cstdio>

using namespace chemodesk;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: slip-saver DB IDNUM HOSPNUM\n");
        return 2;
    }
    try {
        auto connection = hospital::openDatabase(args.at(1));
        components::MedicineCatalogue catalogue(*connection);
        charging::SlipHeader header;
        header.idNum = args.at(2);
        header.hospNum = args.at(3);
        header.room = QStringLiteral("404");
        header.doctorId = QStringLiteral("102");
        header.doctorName = QStringLiteral("Dr. SANTIAGO, MARIA LOURDES");
        header.patientType = QStringLiteral("I");
        header.userId = QStringLiteral("1001");
        // A stocked medicine, so that every save also moves the same shelf,
        // a laboratory request and a plain service.
        const std::vector<charging::ChargeLine> lines{
            {QStringLiteral("PH"), QStringLiteral("10001"), QStringLiteral("PARACETAMOL"),
             QStringLiteral("1"), QStringLiteral("5.00"), QStringLiteral("5.00"), QString(),
             QStringLiteral("20"), QStringLiteral("PH"), QString()},
            {QStringLiteral("LB"), QStringLiteral("1001"), QStringLiteral("CBC"),
             QStringLiteral("1"), QStringLiteral("455.00"), QStringLiteral("455.00"), QString(),
             QString(), QString(), QString()},
            {QStringLiteral("ON"), QStringLiteral("8001"), QStringLiteral("INFUSION"),
             QStringLiteral("1"), QStringLiteral("1200.00"), QStringLiteral("1200.00"), QString(),
             QString(), QString(), QString()}};
        const QString slip =
            charging::saveChargeSlip(*connection, catalogue.Drug(), header, lines);
        std::printf("%s\n", qPrintable(slip));
        return 0;
    } catch (const DatabaseError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
