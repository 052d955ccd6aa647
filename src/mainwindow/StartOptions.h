#pragma once
#include <QStringList>

// What the command line asks of the main window once it is shown.
struct StartOptions {
    QStringList openNames;    // cams opened at start, in this order
    bool fullscreen = false;  // the main window fills the screen (wall displays)
    bool wall = false;        // the main window shows the wall (View > Wall)
    // The last session comes back (when the user keeps it) and this one is kept; the demo's
    // cams are not the user's, so it does neither.
    bool keepSession = true;
};
