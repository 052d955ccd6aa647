#pragma once
// The program folder: where the cam list, the main settings file, Help.rtf and the cam
// folder live. main() chooses it (--home, TOLVANE_HOME, the user's data folder for an installed
// program, else the executable's folder); until then it is the executable's folder.
#include <QString>

QString ProgramFolder();
void SetProgramFolder(const QString& folder);
// Program folder + "/" + name.
QString ProgramPath(const QString& name);

// Whether the executable in executableFolder was installed (cmake --install or the Debian
// package) rather than run from a build folder or copied somewhere on its own: it sits in the
// configured install bin folder, or in a bin folder with the install's share/tolvane beside it
// (an install moved with --prefix or DESTDIR, or a package built with another prefix).
bool IsInstalledExecutable(const QString& executableFolder);
// The installed read-only files (share/tolvane) seen from an installed executable's folder;
// empty when there are none.
QString InstalledDataFolder(const QString& executableFolder);
// An installed program's own program folder: "tolvane" in the user's data folder,
// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share. Nothing is created here.
QString UserDataProgramFolder();
