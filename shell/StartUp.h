// The start-up of the program, above the splash and the main window.
#pragma once

class MDIFormMain;

// Shows the splash, makes and loads the main window (which loads the data files
// and the settings), preloads the rise/set and position windows hidden, waits
// until `splashMs` milliseconds have passed since the splash appeared (handling
// events), shows the main window, sets SplashDone and closes the splash. Returns
// the main window, or nullptr when loading failed (the message has been shown;
// the caller ends the program).
MDIFormMain* StartUp(int splashMs = 3000);

// Set once the start-up through the splash window has finished.
extern bool SplashDone;
