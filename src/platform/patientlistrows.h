#pragma once

// How many rows the patient list shows. spCancer_GetPatient returns one more
// when more patients match, so the screen can say the search should be narrowed:
// with a million registrations an unbounded list holds every workstation up.

namespace chemodesk::platform {

inline constexpr int PatientListRows = 200;

} // namespace chemodesk::platform
