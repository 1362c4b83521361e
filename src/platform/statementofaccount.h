#pragma once

// The hospital system's statement-of-account component. The main window
// creates it at start and keeps it for the whole run; no screen of this
// program calls an operation on it (the statement of account is printed from
// a report template). It lies outside this program.

namespace chemodesk::platform {

class StatementOfAccount {
public:
    virtual ~StatementOfAccount() = default;
};

} // namespace chemodesk::platform
