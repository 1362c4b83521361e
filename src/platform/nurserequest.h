#pragma once

// The hospital system's nurse request component: the requests recorded for an
// admission and its vital signs. It lies outside this program.

#include "platform/connection.h"

#include <QString>

namespace chemodesk::platform {

class NurseRequest {
public:
    virtual ~NurseRequest() = default;

    // `kind` "2": the admission's requests (fields "ITEM DESCRIPTION", "QTY",
    // "DEPT", "REQUEST DATE/TIME", "Code", "REQUESTED BY", "PROCESS DATE/TIME",
    // "PROCESSED BY", "RESULT DATE/TIME", "RESULT BY"); "4": its vital signs
    // ("DATE / TIME", "BLOOD PRESSURE", "Temperature", "RESPIRATORY RATE",
    // "PULSE RATE", "ENCODER").
    virtual Recordset GetRequests(const QString &admissionNumber, const QString &kind,
                                  const QString &connectionString) = 0;
};

} // namespace chemodesk::platform
