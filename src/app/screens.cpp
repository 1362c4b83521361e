#include "screens.h"

#include "charging/pricerules.h"
#include "session/mainwindow/screens.h"

namespace chemodesk {

void registerScreens()
{
    auto &registry = shell::screens();
    // The surcharge tests answer "no" until the rate settings are read; read
    // them at start rather than at the first priced charge.
    registry.onStartup([](Connection &connection) { charging::LoadRateSettings(connection, charging::rateSettings()); });
}

} // namespace chemodesk
