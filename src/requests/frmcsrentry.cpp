#include "frmcsrentry.h"

namespace chemodesk::requests {

frmCSREntry::frmCSREntry(Connection &connection, RequestComponents components,
                         RequestPatient patient, platform::MainPanel *panel, QWidget *parent)
    : RequestEntry(centralSupplyKind(), connection, components, std::move(patient), panel, parent)
{
    vkcmdSave = cmdSave;
}

} // namespace chemodesk::requests
