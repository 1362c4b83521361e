// chemodesk: the department's desktop client.
// Until the main window exists it runs the start-up reads against the
// embedded demo database (or the file or server named as its argument) and
// prints what it found.

#include "hospitaldb/database.h"
#include "session/globals.h"
#include "session/module1.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

using namespace chemodesk;

namespace {

int patients(Connection &connection, const char *mode)
{
    Recordset rs = connection.Execute(QStringLiteral("Clinical_Area..spCancer_GetPatient '%1','','',''").arg(QLatin1String(mode)));
    return static_cast<int>(rs.RecordCount());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chemodesk"));
    QApplication::setApplicationVersion(QStringLiteral(CHEMODESK_VERSION));
    QTextStream out(stdout);
    const QString target = app.arguments().size() > 1 ? app.arguments().at(1) : hospital::defaultDatabasePath();
    try {
        auto connection = target.startsWith(QLatin1String("postgres")) ? hospital::openDatabase(target)
                                                                      : hospital::openEmbedded(target);
        auto &g = session::globals();
        session::SetDepartmentConstants(QStringLiteral("8"));
        g.DbConnection = connection.get();
        connection->setDefaultDatabase(QStringLiteral("CLINICAL_AREA"));
        g.StationCode = QStringLiteral("ON");
        g.StationName = QStringLiteral("Visual Tolvex - Cancer Service");
        session::ReadHospitalInfoA(*connection);
        g.RefNumCode = QStringLiteral("C");
        connection->setCommandTimeout(120);
        session::ReadHospitalInfoB(*connection);
        // Without this the department settings would stay empty all day.
        session::GetHospitalInfo(*connection);
        session::GetServerDate(*connection);

        out << "Database:      " << target << '\n'
            << "Hospital:      " << g.HospitalName << " (" << g.ClientName << ")\n"
            << "Address:       " << g.HospitalAddress << "  Phone: " << g.HospitalPhone << '\n'
            << "Department:    " << g.DepartmentCode << ' ' << g.DepartmentName << ", station " << g.StationCode << '\n'
            << "Server date:   " << g.ServerDate.toString(QStringLiteral("dddd, MMMM d, yyyy  hh:mm AP")) << '\n'
            << "Settings:      assessment " << (g.EnableAssessment ? "on" : "off") << ", package "
            << g.HemoPackageId << ", zero on-hand check " << (g.allowZeroOnHand() ? "on" : "off") << '\n'
            << "In-patients:   " << patients(*connection, "I") << " current, " << patients(*connection, "T") << " previous\n"
            << "Out-patients:  " << patients(*connection, "O") << " current, " << patients(*connection, "D")
            << " previous, " << patients(*connection, "C") << " walk-in cash\n";
        return 0;
    } catch (const DatabaseError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("ChemoDesk"), e.message());
        return 1;
    }
}
