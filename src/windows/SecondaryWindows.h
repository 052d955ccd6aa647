#pragma once
// What the main window uses of the About, Help and web-site windows. Each window is loaded
// once; asking for a loaded window brings it forward without loading it again.
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>

class QWidget;
class frmAbout;
class Form8;
class frmWebsite;

// The request handed to the web-site window: "Website" makes it open the web address; it
// empties the text once it has done so. The main window's web-site button sets it.
QString& WebsiteMode();

// Loads (or brings forward) the About window.
frmAbout* ShowAbout(QWidget* owner);
// Loads (or brings forward) the Help window; false, and no window, when Help.rtf is missing
// from the program folder.
bool ShowHelp(QWidget* owner);
// Loads (or brings forward) the web-site window; what it opens depends on WebsiteMode().
frmWebsite* ShowWebsite(QWidget* owner);
// Closes every loaded About, Help and web-site window (the main window's unload).
void UnloadSecondaryWindows();

// The windows while they are loaded, nullptr otherwise.
frmAbout* LoadedAbout();
Form8* LoadedHelp();
frmWebsite* LoadedWebsite();

// The web address with "http://" in front unless "http://" or "https://" appears anywhere
// in it, in any letter case.
QString AddressWithScheme(const QString& address);

// How an address is opened: the desktop's handler (xdg-open, else QDesktopServices::openUrl)
// unless a test installed another.
using UrlOpener = std::function<void(const QUrl&)>;
void SetUrlOpener(UrlOpener opener);  // empty restores the desktop's default handler
void OpenAddress(const QString& address);
// Where the desktop's handler tells that no browser could be started for an address (the main
// window's status bar); it may tell so a little later, when the handler has given up. Unset,
// the failure is not shown.
void SetOpenProblemReporter(std::function<void(const QString&)> report);

// How long the web-site window stays before it closes itself: one second unless a test
// shortened it; a zero or negative value restores the second.
void SetWebsiteCloseDelay(std::chrono::milliseconds delay);
std::chrono::milliseconds WebsiteCloseDelay();
