// The program's own pictures, drawn in code: one toolbar image per button
// (ImageList1, which also gives the icon of the window a button opens), the
// splash picture (Image1) and the program icon.
#pragma once
#include <QIcon>
#include <QPixmap>
#include <QString>

// The image of the toolbar button with this key ("General", "RiseSet",
// "Ephemerides", "Annual", "Position", "Details", "Compass", "Help"); a null
// icon for an unknown key.
QIcon ButtonImage(const QString& key);
// The splash picture: a night sky over the sea horizon with a sextant's arc.
QPixmap SplashPicture(int width, int height);
// The program icon.
QIcon ProgramIcon();
