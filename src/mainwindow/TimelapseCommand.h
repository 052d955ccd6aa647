#pragma once
// The time-lapse export from the command line, for cron and scripts; no window and no display:
//     tolvane --timelapse CAM --from ISO --to ISO [--fps N] --out FILE [--overwrite] [--home DIR]
// Progress goes to standard error (one updating line on a terminal, a line per tenth
// otherwise), the result to standard output. An existing FILE is replaced only with
// --overwrite. Exit status: 0 done, 1 the export failed (no such cam, no pictures in the range,
// FILE exists, the file cannot be written, the codec is missing, ...), 2 the command line is
// wrong.
#include <QString>
#include <QStringList>
#include <cstdio>

// True when the arguments ask for the time-lapse command.
bool IsTimelapseCommand(const QStringList& args);
// Runs it; args as QCoreApplication::arguments(). Writes to out and err.
int RunTimelapseCommand(const QStringList& args, const QString& executableFolder, std::FILE* out = stdout,
                        std::FILE* err = stderr);
