// Saves one charge slip on the database named by its first argument, as one
// workstation would, and prints the slip number. Tests start many of these at
// once against one server; the documentation's pictures print its slip.
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
        // A stocked medicine, so that every save also moves the same shelf, a
        // laboratory and an x-ray request and the doctor's fee.
        auto line = [](const char *dept, const char *item, const char *description,
                       const char *amount, const char *location = "") {
            return charging::ChargeLine{QLatin1String(dept),
                                        QLatin1String(item),
                                        QLatin1String(description),
                                        QStringLiteral("1"),
                                        QLatin1String(amount),
                                        QLatin1String(amount),
                                        QString(),
                                        QLatin1String(location),
                                        QLatin1String(*location ? dept : ""),
                                        QString(),
                                        QString()};
        };
        const std::vector<charging::ChargeLine> lines{
            line("PH", "10001", "PARACETAMOL 500MG TABLET", "5.00", "20"),
            line("LB", "1001", "COMPLETE BLOOD COUNT", "455.00"),
            line("XR", "2001", "CHEST PA", "650.00"),
            line("MD", "102", "Dr. SANTIAGO, MARIA LOURDES", "2500.00")};
        const QString slip = charging::saveChargeSlip(*connection, catalogue.Drug(), header, lines);
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
