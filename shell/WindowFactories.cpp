#include "shell/WindowFactories.h"

#include "shell/frmGeneral.h"
#include "riseset/frmRiseSet.h"
#include "almanac/frmCompas.h"
#include "map/frmDetails.h"
#include "fix/frmPosition.h"
#include "fix/frmSession.h"
#include "fix/mLastFix.h"
#include "almanac/frmEphemerides.h"
#include "almanac/frmAnnual.h"
#include "log/frmSightLog.h"

#include "planning/frmNoon.h"
#include "lunar/frmLunar.h"
#include "planning/frmPolaris.h"
#include "planning/frmSightPlan.h"
#include <memory>

// Each window adds its include here and its one line below.

ChildWindow* CreateChildWindow(const QString& key, QWidget* parent) {
    if (key == QLatin1String("General")) return new frmGeneral(parent);
    if (key == QLatin1String("RiseSet")) return new frmRiseSet(parent);
    if (key == QLatin1String("Ephemerides")) return new frmEphemerides(parent);
    if (key == QLatin1String("Annual")) return new frmAnnual(parent);
    if (key == QLatin1String("Position")) return new frmPosition(parent);
    if (key == QLatin1String("Session")) return new frmSession(parent);
    if (key == QLatin1String("Compass")) return new frmCompas(parent);
    if (key == QLatin1String("SightLog")) return new frmSightLog(parent);
    if (key == QLatin1String("SightPlan")) return new frmSightPlan(parent);
    if (key == QLatin1String("Noon")) return new frmNoon(parent);
    if (key == QLatin1String("Polaris")) return new frmPolaris(parent);
    if (key == QLatin1String("Lunar")) return new frmLunar(parent);
    return nullptr;
}

ChildWindow* BuildDetailsWindow(ChildWindow* existing, QWidget* parent) {
    auto* window = qobject_cast<frmDetails*>(existing);
    std::unique_ptr<frmDetails> created;
    if (!window) {
        created.reset(new frmDetails(parent));
        window = created.get();
    }
    // The fix calculated last, the position window's or a session's; a fault
    // leaves no half-made window behind.
    if (LastFixIsSession)
        window->Report(LastSession);
    else
        window->Report(LastFix);
    created.release();
    return window;
}
