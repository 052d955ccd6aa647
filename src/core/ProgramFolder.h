#pragma once
// The program folder: where the cam list, the main settings file, Help.rtf and the cam
// folder live. It is the executable's folder unless --home or TOLVANE_HOME names another.
#include <QString>

QString ProgramFolder();
void SetProgramFolder(const QString& folder);
// Program folder + "/" + name.
QString ProgramPath(const QString& name);
