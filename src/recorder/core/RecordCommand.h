#pragma once
// The recorder from the command line, with no window and no display, for a service or cron:
//     tolvane --record [--home DIR] [--open NAME]... [--verbose]
// Its own lines and one line per change of a cam's health (the tolvane.watch log) go to
// standard error, where the journal takes them. SIGTERM, SIGINT and SIGHUP end it cleanly.
// Exit status: 0 ended by a signal, 1 it could not start (another recorder holds the folder, a
// cam named that the list lacks, the folder cannot be made), 2 the command line is wrong.
#include <QString>
#include <QStringList>
#include <cstdio>

// True when the arguments ask for the recorder.
bool IsRecordCommand(const QStringList& args);
// Runs it until a signal ends it; args as QCoreApplication::arguments(), inside a running
// QCoreApplication. installedFolder: the program folder of an installed program (empty for a
// build or a portable copy), as the window resolves it.
int RunRecordCommand(const QStringList& args, const QString& executableFolder, const QString& installedFolder,
                     std::FILE* err = stderr);
