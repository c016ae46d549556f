// The save dialog of every file the program exports: it opens in the user's
// documents folder with a suggested name, and the name chosen gets the file
// type's ending when it has none ("page" becomes "page.csv").
#pragma once
#include <QString>

class QWidget;

// The suggested file name in the user's documents folder (the home folder when
// the system names none).
QString DocumentsPath(const QString& fileName);

// path with "." + suffix added when its file name has no ending; an empty path
// stays empty.
QString WithSuffix(const QString& path, const QString& suffix);

// The modal save dialog: caption, suggested file name, filter ("CSV files
// (*.csv)"), the ending to add. Returned: the path chosen, or empty on Cancel.
QString AskSavePath(QWidget* parent, const QString& caption, const QString& fileName, const QString& filter,
                    const QString& suffix);
