#pragma once

// The stock on hand of an item at an issuing location, as the entry screens
// (charge entry, requests, assessment) check it while a line is typed. The
// save checks its own shelf again inside its transaction (chargesave.h).

#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::components {

// The quantity on the shelf of `location`; 0 when the item is not stocked
// there. Database errors reach the screen.
double stockOnHand(Connection &connection, const QString &item, const QString &location);

} // namespace chemodesk::components
