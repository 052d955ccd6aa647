#pragma once
// What the recorder of a folder is doing, from what it publishes there, for a person or a
// script; it works while the recorder runs and after it stopped:
//     tolvane --status [--home DIR]
// Exit status: 0 the status was printed (running or not), 1 no recorder has run on the folder
// or its status cannot be read, 2 the command line is wrong.
#include <QString>
#include <QStringList>
#include <cstdio>

#include "RecorderStatus.h"

bool IsStatusCommand(const QStringList& args);
int RunStatusCommand(const QStringList& args, const QString& executableFolder, const QString& installedFolder,
                     std::FILE* out = stdout, std::FILE* err = stderr);

// The text printed: the recorder's state and a few lines per cam. holder: the process holding
// the folder now (RecorderHolding), which tells a recorder that ended without its last word.
QString StatusText(const RecorderStatus& status, qint64 holder);
