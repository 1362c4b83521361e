// chemodesk: the department's desktop client.
// Until the main window exists, it opens the embedded demo database and shows
// what it holds.

#include "hospitaldb/database.h"
#include "hospitaldb/hospitaldb.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

using namespace chemodesk;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chemodesk"));
    QApplication::setApplicationVersion(QStringLiteral(CHEMODESK_VERSION));
    QTextStream out(stdout);
    try {
        const QString path = app.arguments().size() > 1 ? app.arguments().at(1) : hospital::defaultDatabasePath();
        auto connection = hospital::openEmbedded(path);
        out << "Database: " << path << '\n';
        Recordset info = connection->Execute(QStringLiteral("select * from PATIENT_DATA..tbhospitalInfo"));
        if (!info.atEnd())
            out << "Hospital: " << info.Fields(QStringLiteral("company")).toString() << '\n';
        for (const auto &t : hospital::tables()) {
            Recordset rs = connection->Execute(QStringLiteral("SELECT count(*) AS Rows FROM %1..%2").arg(t.database, t.name));
            out << t.database << ".." << t.name << '\t' << rs.Fields(0).toLongLong() << '\n';
        }
        return 0;
    } catch (const DatabaseError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("ChemoDesk"), e.message());
        return 1;
    }
}
