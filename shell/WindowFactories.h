// Which window each toolbar key opens. The shell knows the windows only through
// these two functions; a window joins the program by one line in
// WindowFactories.cpp.
#pragma once
#include <QString>

class ChildWindow;
class QWidget;

// A new window for a toolbar key ("General", "RiseSet", "Ephemerides", "Annual",
// "Position", "Compass", "SightPlan", "Noon", "Polaris", "Lunar"), or nullptr when the key has no window (yet): its
// button then does nothing. "Details" is built by BuildDetailsWindow instead.
ChildWindow* CreateChildWindow(const QString& key, QWidget* parent);

// The "Details" button: builds the calculation details window from the last fix
// and returns the window to show. `existing` is the open details window or
// nullptr; the returned window is the details window from then on. nullptr
// while the details window does not exist.
ChildWindow* BuildDetailsWindow(ChildWindow* existing, QWidget* parent);
