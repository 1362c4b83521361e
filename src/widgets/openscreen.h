#pragma once

// The one way the entry screens (charges, requests, assessments) are opened
// from a screen context: on its connection and shared components, for the
// patient it names, modal over its window, talking back to its panel where
// the screen takes one.

#include "messages.h"
#include "platform/screencontext.h"

#include <memory>
#include <type_traits>

namespace chemodesk::widgets {

// `Screen` is built as Screen(connection, components, patient, panel, parent), or without the
// panel, its patient made from the context by Screen::patientOf.
template <typename Screen> std::unique_ptr<Screen> makeEntryScreen(const platform::ScreenContext &c)
{
    using Patient = decltype(Screen::patientOf(c));
    if constexpr (std::is_constructible_v<Screen, Connection &, platform::ScreenComponents, Patient,
                                          platform::MainPanel *, QWidget *>)
        return std::make_unique<Screen>(c.connection, c.components(), Screen::patientOf(c),
                                        &c.panel, c.parent);
    else
        return std::make_unique<Screen>(c.connection, c.components(), Screen::patientOf(c),
                                        c.parent);
}

template <typename Screen> void openEntryScreen(const platform::ScreenContext &context)
{
    execModal(*makeEntryScreen<Screen>(context));
}

} // namespace chemodesk::widgets
