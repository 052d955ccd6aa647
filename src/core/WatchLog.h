#pragma once
// The log of what happens to the watched cams ("tolvane.watch"): one info line per change of a
// cam's state or of its last fetch's outcome, never one per fetch. Off unless asked for, with
// QT_LOGGING_RULES="tolvane.watch.info=true" or the --verbose flag. Every library may log here;
// what goes in it never holds a password (addresses are shown as user:***@).
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcWatch)

// What --verbose does: info lines of the watch log on (QT_LOGGING_RULES still has the last word).
void EnableVerboseWatchLog();
