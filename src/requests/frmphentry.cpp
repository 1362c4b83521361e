#include "frmphentry.h"

namespace chemodesk::requests {

frmPHEntry::frmPHEntry(Connection &connection, RequestComponents components, RequestPatient patient,
                       platform::MainPanel *panel, QWidget *parent)
    : RequestEntry(pharmacyKind(), connection, components, std::move(patient), panel, parent)
{
    vkCommand1 = cmdSave;
}

} // namespace chemodesk::requests
