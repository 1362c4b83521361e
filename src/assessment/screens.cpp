#include "screens.h"

#include "frmassessmententry.h"
#include "frmassessstatus.h"
#include "widgets/messages.h"
#include "widgets/openscreen.h"
#include "widgets/screenregistry.h"

namespace chemodesk::assessment {

namespace {

void openEntry(const platform::ScreenContext &context)
{
    auto screen = widgets::makeEntryScreen<frmAssessmentEntry>(context);
    screen->setPackageDialog(opdPackageDialog(context.connection));
    widgets::execModal(*screen);
}

void openStatus(const platform::ScreenContext &context)
{
    frmAssessStatus screen(context.connection, context.parent);
    widgets::execModal(screen);
}

} // namespace

void registerScreens(widgets::ScreenRegistry &registry)
{
    // The File menu's Assessment runs the button's action. The Request menu's Assessment is the
    // older assessment, a screen of its own: not this one.
    registry.set(QStringLiteral("cmdCash"), openEntry);
    registry.set(QStringLiteral("mnuCashAssessment"), openEntry);
    registry.set(QStringLiteral("mnuReportStatus"), openStatus);
}

} // namespace chemodesk::assessment
