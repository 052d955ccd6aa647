#pragma once
// Product metadata (name, company, web address, version), set once by the build and read at
// run time through QCoreApplication, so that nothing in the program spells the name itself.
#include <QString>

// Puts the build's metadata into QCoreApplication; call right after the application object exists
// (a program with windows calls InitDesktopApplication, which does this too).
void InitApplicationMetadata();

QString ProductName();  // QCoreApplication::applicationName()
QString CompanyName();  // QCoreApplication::organizationName()
QString WebAddress();   // the "webAddress" property of the application object
QString VersionText();  // QCoreApplication::applicationVersion(), "major.minor.patch"
// "Copyright © <years> <company>", the years set by the build.
QString CopyrightNotice();
int VersionMajor();
int VersionMinor();
// The id of the installed desktop entry ("org.example.tolvane" for org.example.tolvane.desktop):
// the desktop finds the menu entry and its icon for a window by it.
QString DesktopEntryId();
// The executable's file name without its extension ("tolvane"); error sources start with it.
QString ExecutableName();
