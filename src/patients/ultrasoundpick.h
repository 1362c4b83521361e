#pragma once

// The ultrasound exam picked in frmSearcher, read by the request screen right
// after the picker closes. Both empty when the pick was cancelled.

#include <QString>

namespace chemodesk::patients {

struct UltrasoundPick {
    QString UltraExamName;
    QString UltraExamID;
};

} // namespace chemodesk::patients
