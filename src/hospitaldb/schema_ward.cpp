#include "schemaparts.h"

// Stations, room classes and rooms.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> wardTables()
{
    return {
        table("BUILD_FILE", "tbCoStation",
              "StationID varchar(6) not null, Station varchar(60) not null, isActive bit default 1",
              {"StationID"}),
        table("BUILD_FILE", "tbCoRoomClass",
              "RoomClassID varchar(2) not null, RoomClass varchar(40) not null, "
              "RoomRate money default 0",
              {"RoomClassID"}),
        table("BUILD_FILE", "TbCoRoom",
              "RoomID varchar(10) not null, RoomClassID varchar(2), StationID varchar(6), "
              "RoomRate money default 0, BedCount int default 1, isActive bit default 1",
              {"RoomID"}, {index({"StationID"})}),
    };
}

} // namespace chemodesk::hospital::schema
