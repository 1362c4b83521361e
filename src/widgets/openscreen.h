#pragma once

// The one way the entry screens (charges, requests) are opened from a screen
// context: on its connection and shared components, for the patient it names,
// talking back to its panel, modal over its window.

#include "messages.h"
#include "platform/screencontext.h"

namespace chemodesk::widgets {

// `Screen` is built as Screen(connection, components, patient, panel, parent), its patient made
// from the context by Screen::patientOf.
template <typename Screen> void openEntryScreen(const platform::ScreenContext &context)
{
    Screen screen(context.connection, context.components(), Screen::patientOf(context),
                  &context.panel, context.parent);
    execModal(screen);
}

} // namespace chemodesk::widgets
