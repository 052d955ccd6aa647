#pragma once
// The program folder of a demo run: a fresh folder of its own, never the user's, with a cam
// list of the demo cams, the clock pointed at the local daytime responder and the help file.
#include <QString>
#include <QStringList>

struct DemoCam {
    QString name;
    QString url;
};

// Makes a new, empty folder named with the date and time under parentFolder (the system's
// temporary folder when empty); empty text when it cannot be made.
QString NewDemoFolder(const QString& parentFolder = QString());

// Makes folder the program folder and fills it: the cam list with the given cams (refresh in
// seconds), "timeServer" = 127.0.0.1:<daytimePort>, "showHelp" = "0" in the main store so the
// live cams are not covered (the user's own "Show at Startup" choice still wins), and a copy of
// helpFile when it exists. Returns an error text, empty on success.
QString PrepareDemoFolder(const QString& folder, const QList<DemoCam>& cams, int refreshSeconds, quint16 daytimePort,
                          const QString& helpFile);

// What became of a demo folder at the end of its run.
struct DemoFolderEnd {
    bool removed = false;   // the folder is gone
    int savedPictures = 0;  // files below its cam folder and pictures elsewhere in it, when kept
};

// A demo folder whose cam folder holds no file (no picture was saved) is of no more use and is
// removed whole; one with saved pictures is kept for the user to look at.
DemoFolderEnd FinishDemoFolder(const QString& folder);
