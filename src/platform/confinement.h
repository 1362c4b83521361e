#pragma once

// The hospital system's confinement component: a patient's past and present
// confinements. It lies outside this program.

#include "platform/connection.h"

#include <QString>

namespace chemodesk::platform {

class Confinement {
public:
    virtual ~Confinement() = default;

    // The patient's confinements (fields "Admision No.", "Admision Date/Time",
    // "Discharged Date/Time", "Room").
    virtual Recordset GetConfinementPeriod(const QString &hospitalNumber,
                                           const QString &connectionString) = 0;
};

} // namespace chemodesk::platform
