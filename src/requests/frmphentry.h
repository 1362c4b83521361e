#pragma once

// Pharmacy Request Entry: the medicines the selected patient needs from the
// pharmacy (location "20"), each with a dosage, sent as a "PH" request.

#include "requestentry.h"

namespace chemodesk::requests {

class frmPHEntry : public RequestEntry {
    Q_OBJECT
public:
    frmPHEntry(Connection &connection, RequestComponents components, RequestPatient patient,
               platform::MainPanel *panel = nullptr, QWidget *parent = nullptr);

    QPushButton *vkCommand1 = nullptr; // "&Save"
};

} // namespace chemodesk::requests
