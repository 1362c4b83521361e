#pragma once

// Central Supply Request Entry: the supplies the selected patient needs from
// the central supply room (location "21"), sent as a "CS" request. No dosage.

#include "requestentry.h"

namespace chemodesk::requests {

class frmCSREntry : public RequestEntry {
    Q_OBJECT
public:
    frmCSREntry(Connection &connection, RequestComponents components, RequestPatient patient,
                platform::MainPanel *panel = nullptr, QWidget *parent = nullptr);

    QPushButton *vkcmdSave = nullptr; // "&Save"
};

} // namespace chemodesk::requests
