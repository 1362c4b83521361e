#pragma once

// The hospital system's diagnosis code component: the ICD-10 code search the
// datasheet opens with F10. It lies outside this program.

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {

class DiagnosisCode {
public:
    virtual ~DiagnosisCode() = default;

    // Handed over at start.
    virtual void setActiveConnection(Connection *connection) = 0;

    // Opens the ICD-10 code search.
    virtual void ValidateICDCode() = 0;
};

} // namespace chemodesk::platform
