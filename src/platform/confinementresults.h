#pragma once

// The hospital system's confinement-results component: what was given and
// examined during one confinement. It lies outside this program.

#include "platform/connection.h"

#include <QString>

namespace chemodesk::platform {

class ConfinementResults {
public:
    virtual ~ConfinementResults() = default;

    // `kind` "1": medications (fields "TransDate", "Drug Name", "Quantity"),
    // "2": X-ray examinations, "3": ultrasound examinations (each with its
    // "INTERPRETATION").
    virtual Recordset GetConfinementResults(const QString &admissionNumber, const QString &kind,
                                            const QString &connectionString) = 0;
};

} // namespace chemodesk::platform
