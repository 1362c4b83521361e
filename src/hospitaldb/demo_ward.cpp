// Stations, room classes and rooms.

#include "demoparts.h"

#include <array>

namespace chemodesk::hospital::demo {

namespace {

std::vector<Room> roomsAndStations(Connection &c)
{
    insertRows(c, QStringLiteral("BUILD_FILE..tbCoStation"), QStringLiteral("StationID, Station"),
               {{str(QStringLiteral("2W")), str(QStringLiteral("2ND FLOOR MEDICAL WARD"))},
                {str(QStringLiteral("3W")), str(QStringLiteral("3RD FLOOR SURGICAL WARD"))},
                {str(QStringLiteral("4W")), str(QStringLiteral("4TH FLOOR PAY WARD"))},
                {str(QStringLiteral("ON")), str(QStringLiteral("ONCOLOGY UNIT"))},
                {str(QStringLiteral("ICU")), str(QStringLiteral("INTENSIVE CARE UNIT"))},
                {str(QStringLiteral("NUR")), str(QStringLiteral("NURSERY"))},
                {str(QStringLiteral("PICU")), str(QStringLiteral("PEDIATRIC INTENSIVE CARE UNIT"))},
                {str(QStringLiteral("ER")), str(QStringLiteral("EMERGENCY ROOM"))},
                {str(QStringLiteral("OPD")), str(QStringLiteral("OUT-PATIENT DEPARTMENT"))}});

    const std::array<std::pair<const char *, int>, 5> classes = {{{"WARD", 800},
                                                                  {"SEMI-PRIVATE", 1500},
                                                                  {"PRIVATE", 2500},
                                                                  {"DELUXE", 3500},
                                                                  {"SUITE", 5000}}};
    std::vector<QStringList> classRows;
    for (size_t i = 0; i < classes.size(); ++i)
        classRows.push_back({str(QString(QChar('A' + int(i)))),
                             str(QLatin1String(classes[i].first)), money(classes[i].second)});
    insertRows(c, QStringLiteral("BUILD_FILE..tbCoRoomClass"),
               QStringLiteral("RoomClassID, RoomClass, RoomRate"), classRows);

    std::vector<Room> rooms;
    auto add = [&](const QString &id, const char *roomClass, const char *station) {
        rooms.push_back({id, QLatin1String(roomClass), QLatin1String(station)});
    };
    for (int n = 1; n <= 10; ++n)
        add(QString::number(200 + n), "A", "2W");
    for (int n = 1; n <= 10; ++n)
        add(QString::number(300 + n), "B", "3W");
    for (int n = 1; n <= 14; ++n)
        add(QString::number(400 + n), n <= 8 ? "C" : n <= 12 ? "D" : "E", "4W");
    for (int n = 1; n <= 6; ++n)
        add(QStringLiteral("ON-%1").arg(n, 2, 10, QLatin1Char('0')), n <= 4 ? "B" : "C", "ON");
    for (int n = 1; n <= 6; ++n)
        add(QStringLiteral("ICU-%1").arg(n), "D", "ICU");
    for (int n = 1; n <= 4; ++n)
        add(QStringLiteral("NUR-%1").arg(n), "A", "NUR");
    for (int n = 1; n <= 3; ++n)
        add(QStringLiteral("PICU-%1").arg(n), "D", "PICU");

    std::vector<QStringList> rows;
    for (const Room &r : rooms) {
        const int rate =
            classes[r.roomClass.at(0).unicode() - 'A'].second +
            (r.station == QLatin1String("ICU") || r.station == QLatin1String("PICU") ? 3000 : 0);
        rows.push_back({str(r.id), str(r.roomClass), str(r.station), money(rate),
                        num(r.roomClass == QLatin1String("A")   ? 6
                            : r.roomClass == QLatin1String("B") ? 2
                                                                : 1)});
    }
    insertRows(c, QStringLiteral("BUILD_FILE..TbCoRoom"),
               QStringLiteral("RoomID, RoomClassID, StationID, RoomRate, BedCount"), rows);
    return rooms;
}

} // namespace

void loadWard(Part &part)
{
    part.loaded.rooms = roomsAndStations(part.connection);
    // In the emergency room, where no patient of the demo lies.
    if (part.extraRow)
        insertRows(part.connection, QStringLiteral("BUILD_FILE..TbCoRoom"),
                   QStringLiteral("RoomID, RoomClassID, StationID, RoomRate, BedCount"),
                   {{str(QStringLiteral("ER-1")), str(QStringLiteral("A")),
                     str(QStringLiteral("ER")), money(800), num(part.random.between(1, 6))}});
}

} // namespace chemodesk::hospital::demo
