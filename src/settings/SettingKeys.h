#pragma once
// Every setting the program reads or writes, defined once: its name, default, store, the values
// it takes and, for a choice of the Options dialog, the label and tip the dialog shows. Code
// reads and writes a setting through its key (Settings.h, Options.h), never by spelling its
// name. The names are what the settings files hold: renaming one loses the users' stored value.
// The texts the dialog shows are marked for the translators (QT_TRANSLATE_NOOP, context
// "SettingKeys") and translated where they are shown (Options.cpp); "{label}" and "{default}"
// stay as they are in a translation.
//
// A new setting is one declaration here and its entry in All below (the Options dialog shows it
// when it has a label), a row in README.md's "Settings" section and a line in
// resources/Help.rtf (and its translations Help.de.rtf, Help.fr.rtf); the SettingsDocumentation
// and help tests fail until it has all of them.
#include <QString>
#include <QtGlobal>
#include <span>

#include "RecordSchedule.h"
#include "SettingRules.h"

// Where a setting is kept.
enum class SettingStore {
    Main,          // Tolvane.ini in the program folder (ReadSetting, WriteSetting)
    User,          // the per-user file (GetUserSetting, SaveUserSetting)
    UserThenMain,  // the per-user value when there is one, else the main store's
};

enum class SettingType {
    Text,    // any text, or the texts `accepts` takes
    Flag,    // on or off, stored "1" or "0" and read by FlagFromText
    Number,  // a whole number within [minimum, maximum]; empty only when emptyAllowed
    File,    // a path, typed or chosen with "Browse…"
    Folder,  // a folder's path, typed or chosen with "Browse…"
    Choice,  // one of `choices`, stored as its value
};

// One value of a Choice setting: what the file holds and what the dialog shows.
struct SettingChoice {
    const char* value;
    const char* label;
};

// The values a setting takes. A stored value it does not take reads as the default.
struct SettingRule {
    SettingType type = SettingType::Text;
    int minimum = 0;  // Number only
    int maximum = 0;  // Number only
    bool emptyAllowed = false;
    bool (*accepts)(const QString&) = nullptr;  // Text only; every text when null
    const char* acceptsHint = nullptr;          // Text only: what to type instead; "{label}" is the label
    std::span<const SettingChoice> choices{};   // Choice only, in the order the dialog lists them
};

constexpr SettingRule Flag()
{
    return {SettingType::Flag};
}
constexpr SettingRule WholeNumber(int minimum, int maximum)
{
    return {SettingType::Number, minimum, maximum};
}
// A whole number, or the empty text as a value of its own (such as "for ever").
constexpr SettingRule WholeNumberOrEmpty(int minimum, int maximum)
{
    return {SettingType::Number, minimum, maximum, true};
}
constexpr SettingRule AnyText()
{
    return {SettingType::Text};
}
constexpr SettingRule TextAccepting(bool (*accepts)(const QString&), const char* hint)
{
    return {SettingType::Text, 0, 0, false, accepts, hint};
}
constexpr SettingRule FilePath()
{
    return {SettingType::File};
}
constexpr SettingRule FolderPath()
{
    return {SettingType::Folder};
}
constexpr SettingRule OneOf(std::span<const SettingChoice> choices)
{
    return {SettingType::Choice, 0, 0, false, nullptr, nullptr, choices};
}

// How the Options dialog shows a setting; a setting without a label is not in the dialog.
// "{default}" in a text stands for the setting's default.
struct SettingOption {
    const char* label = nullptr;
    const char* tip = nullptr;          // tool tip of the control
    const char* placeholder = nullptr;  // shown while a text field is empty
};

struct SettingKey {
    const char* section;
    const char* name;
    const char* defaultValue;  // what a read gives when the store holds nothing usable
    SettingStore store = SettingStore::Main;
    SettingRule rule{};
    SettingOption option{};

    QString Section() const { return QString::fromLatin1(section); }
    QString Name() const { return QString::fromLatin1(name); }
    QString Default() const { return QString::fromUtf8(defaultValue); }
    bool InOptionsDialog() const { return option.label != nullptr; }
};

namespace SettingKeys {
// "1": "AutoSave New Pictures" is ticked at start; "0": it is not. Read once at start (a value
// that is neither is reported and counts as off); written whenever the box changes.
inline constexpr SettingKey autoSave{"Settings", "autoSave", "0", SettingStore::Main, Flag()};
// "1": the Help window opens at start. The per-user value is the Help window's own "Show at
// Startup" box and wins whenever it is there; the main store's value counts only without it
// (the demo folder writes "0" there). Start-up opens the window for the text "1" alone.
inline constexpr SettingKey showHelp{"Settings", "showHelp", "1", SettingStore::UserThenMain, Flag()};
// "1" once the user answered "Ignore" to "Permission Denied": a main store that cannot be
// written is then passed over without a word. Compared as text: only "1" silences.
inline constexpr SettingKey IgnorePermissionDeniedError{"Settings", "IgnorePermissionDeniedError", "0",
                                                        SettingStore::User, Flag()};

// The choices of the Options dialog, in the order it shows them. Each is off (or keeps the old
// behaviour) by default, so a store that holds none of them behaves as the program always did,
// except reopenCams: a start that brings back what the user left is what users expect.

// "1": at start the cams that were open at the end come back in their panels, with the Viewer's
// cam, its zoom, the wall and the window as they were (the session keys below); "0": start-up
// opens no cam and maximizes the window, as it always did.
inline constexpr SettingKey reopenCams{"Settings",
                                       "reopenCams",
                                       "1",
                                       SettingStore::Main,
                                       Flag(),
                                       {QT_TRANSLATE_NOOP("SettingKeys", "Reopen the cams that were open"),
                                        QT_TRANSLATE_NOOP("SettingKeys",
                                                          "At start the cams that were open when the program ended "
                                                          "come back in their panels, with the Viewer's cam, its "
                                                          "zoom, the wall and the window's size and place as they "
                                                          "were. --open, --wall and --fullscreen replace what they "
                                                          "name.")}};

// A cam whose pictures keep coming but none of them new (by its Last-Modified line) is stale
// after this many minutes, or after ten of its refresh intervals when that is longer.
inline constexpr SettingKey staleMinutes{
    "Settings",
    "staleMinutes",
    "10",
    SettingStore::Main,
    WholeNumber(1, 7 * 24 * 60),
    {QT_TRANSLATE_NOOP("SettingKeys", "Stale after (minutes without a new picture)"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "A cam whose pictures keep coming, but none of them new, is marked stale after this many minutes, or after "
         "ten "
         "of its refresh intervals when that is longer. Cams that send no Last-Modified time are never stale.")}};
// A cam that keeps sending new pictures (a new Last-Modified or ETag, other bytes) while the
// picture outside its mask stays the same is frozen after this many minutes, or after ten of its
// refresh intervals when that is longer; 0: never.
inline constexpr SettingKey frozenMinutes{
    "Settings",
    "frozenMinutes",
    "10",
    SettingStore::Main,
    WholeNumber(0, 7 * 24 * 60),
    {QT_TRANSLATE_NOOP("SettingKeys", "Frozen after (minutes without a change in the picture)"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "A cam that keeps sending new pictures (a new Last-Modified or ETag, other bytes) while the picture itself "
         "stays "
         "the same, outside its mask, is marked frozen after this many minutes, or after ten of its refresh intervals "
         "when that is longer: a burnt-in clock that still ticks on a picture that no longer changes. 0: never.")}};
// Empty: saved pictures are kept for ever, since deleting is only done when asked for. A whole
// number of days: pictures the program saved and indexed are deleted once they are that old,
// at start and every hour.
inline constexpr SettingKey keepDays{"Settings",
                                     "keepDays",
                                     "",
                                     SettingStore::Main,
                                     WholeNumberOrEmpty(1, 36500),
                                     {QT_TRANSLATE_NOOP("SettingKeys", "Keep saved pictures for N days"),
                                      QT_TRANSLATE_NOOP("SettingKeys",
                                                        "Pictures this program saved and indexed are deleted once they "
                                                        "are older than this many days (checked at start "
                                                        "and every hour). Empty keeps them for ever."),
                                      QT_TRANSLATE_NOOP("SettingKeys", "forever")}};
// Empty: no limit on the space saved pictures take. A whole number of gigabytes (10^9 bytes):
// once the pictures the program saved and indexed take more, the oldest of them are deleted
// until they fit, at start and every hour (after keepDays, when both are set).
inline constexpr SettingKey keepGigabytes{
    "Settings",
    "keepGigabytes",
    "",
    SettingStore::Main,
    WholeNumberOrEmpty(1, 1000000),
    {QT_TRANSLATE_NOOP("SettingKeys", "Keep at most N gigabytes of saved pictures"),
     QT_TRANSLATE_NOOP("SettingKeys",
                       "Once the pictures this program saved and indexed take more than this many gigabytes, the "
                       "oldest of them are deleted until they fit (checked at start and every hour). Empty sets no "
                       "limit."),
     QT_TRANSLATE_NOOP("SettingKeys", "no limit")}};
// When `tolvane --record` records a cam that has no schedule of its own (RecordSchedule.h):
// empty or "always", "HH:MM-HH:MM" in local time, or "daylight LAT LON [civil]".
inline constexpr SettingKey recordSchedule{
    "Settings",
    "recordSchedule",
    "",
    SettingStore::Main,
    TextAccepting(IsRecordScheduleText,
                  QT_TRANSLATE_NOOP("SettingKeys",
                                    "\"{label}\" takes always, two times such as 06:00-20:00, or daylight with a "
                                    "latitude and longitude in degrees, such as daylight 51.48 -0.01 (civil at the end "
                                    "for civil twilight).")),
    {QT_TRANSLATE_NOOP("SettingKeys", "Recorder's schedule"),
     QT_TRANSLATE_NOOP("SettingKeys",
                       "When tolvane --record records the cams that have no schedule of their own: always (empty), "
                       "between two times such as 06:00-20:00, or in daylight at a place, such as daylight 51.48 "
                       "-0.01, computed here from sunrise to sunset (add civil for civil twilight)."),
     QT_TRANSLATE_NOOP("SettingKeys", "always")}};
// The folder saved pictures go to (made when missing); a relative path is taken from the program
// folder. Empty: the folder "cam" beside the program, as always.
inline constexpr SettingKey saveFolder{
    "Settings",
    "saveFolder",
    "",
    SettingStore::Main,
    FolderPath(),
    {QT_TRANSLATE_NOOP("SettingKeys", "Save pictures in"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "The folder new pictures (AutoSave and Save Image) are saved in; it is made when missing. Each folder has its "
         "own picture index, so the history shows the pictures of the folder chosen. Empty: the folder cam beside the "
         "program."),
     QT_TRANSLATE_NOOP("SettingKeys", "the folder cam beside the program")}};
// How saved pictures are named: "classic" the cam's name, date and time in the user's formats
// with the blanks taken out, all in one folder, as always; "sortable" a folder per cam and per
// day, ISO 8601 dates and local times, and pictures of one second kept apart (" (2)").
inline constexpr SettingChoice kPictureNames[] = {
    {"classic", QT_TRANSLATE_NOOP("SettingKeys", "Classic: HarbourCam9Dec2026155945.jpg")},
    {"sortable",
     QT_TRANSLATE_NOOP("SettingKeys", "Sortable: Harbour Cam/2026-12-09/Harbour Cam 2026-12-09 15.59.45.jpg")}};
inline constexpr SettingKey pictureNames{
    "Settings",
    "pictureNames",
    "classic",
    SettingStore::Main,
    OneOf(kPictureNames),
    {QT_TRANSLATE_NOOP("SettingKeys", "Saved pictures' names"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "Classic: the cam's name, the date and the time in your formats, every picture in one folder. Sortable: a "
         "folder per cam and per day, names that sort by time, and two pictures of one second kept apart by \" (2)\". "
         "Pictures saved under either are found by the history, the time-lapse and the retention.")}};
// A PEM file of certificate authorities that https cams are trusted by, on top of the system's
// and those SSL_CERT_FILE and SSL_CERT_DIR name. Empty: none.
inline constexpr SettingKey caFile{
    "Settings",
    "caFile",
    "",
    SettingStore::Main,
    FilePath(),
    {QT_TRANSLATE_NOOP("SettingKeys", "Trusted certificate authorities (PEM file)"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "https cams whose certificate comes from one of the authorities in this PEM file are trusted, as are those "
         "SSL_CERT_FILE and SSL_CERT_DIR name."),
     QT_TRANSLATE_NOOP("SettingKeys", "only the system's")}};
// "1": when a cam's refresh interval ends while the picture is still arriving (a byte of it
// within the last 5 s), the download goes on and the next fetch starts as soon as it ends; one
// with no byte for 10 s is abandoned. "0": the next fetch abandons it, as it always did.
inline constexpr SettingKey finishSlowDownloads{
    "Settings",
    "finishSlowDownloads",
    "0",
    SettingStore::Main,
    Flag(),
    {QT_TRANSLATE_NOOP("SettingKeys", "Let a download that is still arriving finish"),
     QT_TRANSLATE_NOOP("SettingKeys",
                       "When a cam's refresh interval ends while its picture is still arriving, the download goes on "
                       "and the next one "
                       "starts as soon as it ends. A download that brings no byte for 10 seconds is abandoned.")}};
// "1": the stream cam (rtsp://, rtsps://) the Viewer or the full-window view shows keeps its
// stream open and shows it as video (at most 25 frames a second); the thumbnails and the wall
// keep one still per refresh. "0": one still per refresh everywhere, as for any cam.
inline constexpr SettingKey liveInViewer{
    "Settings",
    "liveInViewer",
    "0",
    SettingStore::Main,
    Flag(),
    {QT_TRANSLATE_NOOP("SettingKeys", "Show a stream cam live in the Viewer"),
     QT_TRANSLATE_NOOP("SettingKeys",
                       "The stream cam (rtsp://, rtsps:// or an HLS playlist) shown in the Viewer, or full-window, "
                       "keeps its stream open and shows it as video, up to 25 frames a second. The thumbnails and the "
                       "wall keep one still per refresh.")}};
// The daytime server the GMT clock asks: "host", "host:port" or "[IPv6]:port" (port 13 when
// none is given); empty asks the default. The demo folder points it at its own responder.
inline constexpr SettingKey timeServer{
    "Settings",
    "timeServer",
    "time.nist.gov",
    SettingStore::Main,
    TextAccepting(IsTimeServerText,
                  QT_TRANSLATE_NOOP("SettingKeys",
                                    "\"{label}\" takes a host name or address, optionally followed by \":port\" (1 to "
                                    "65535), such as time.nist.gov or 192.0.2.1:13.")),
    {QT_TRANSLATE_NOOP("SettingKeys", "Time server (daytime protocol)"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "The server the GMT clock asks for the time, with the daytime protocol (port 13 unless \"host:port\" names "
         "another). Empty asks {default}."),
     "{default}"}};
// "1": a cam's 301, 302, 303, 307 and 308 answers are followed, up to 5 hops (http to https
// allowed, https to http refused); "0": they show the not-found picture.
inline constexpr SettingKey followRedirects{
    "Settings",
    "followRedirects",
    "0",
    SettingStore::Main,
    Flag(),
    {QT_TRANSLATE_NOOP("SettingKeys", "Follow redirects"),
     QT_TRANSLATE_NOOP("SettingKeys",
                       "A cam that answers with a redirect (301, 302, 303, 307, 308) is asked again at the new "
                       "address, up to 5 times. "
                       "http may lead to https, never https to http. Off: a redirect shows the not-found picture.")}};
// "1": each fetch after a picture asks whether it changed (If-None-Match, If-Modified-Since),
// and a 304 keeps the picture; "0": every fetch downloads it.
inline constexpr SettingKey conditionalRequests{
    "Settings",
    "conditionalRequests",
    "0",
    SettingStore::Main,
    Flag(),
    {QT_TRANSLATE_NOOP("SettingKeys", "Ask whether the picture changed"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "Each fetch sends the last picture's ETag and Last-Modified time; a cam that answers 304 (unchanged) sends no "
         "picture, and the one shown stays.")}};

// What makes a fetched picture new (saved by AutoSave, "Last Refreshed", the history):
// "lastModified" a change of the server's Last-Modified line, as it always was; "content" a
// change of the picture itself (changedPixelLevel, changedAreaPerMille); "both" the two at once.
inline constexpr SettingChoice kNewPictureRules[] = {
    {"lastModified", QT_TRANSLATE_NOOP("SettingKeys", "The server's Last-Modified line")},
    {"content", QT_TRANSLATE_NOOP("SettingKeys", "The picture's content")},
    {"both", QT_TRANSLATE_NOOP("SettingKeys", "Both")}};
inline constexpr SettingKey newPictureRule{
    "Settings",
    "newPictureRule",
    "lastModified",
    SettingStore::Main,
    OneOf(kNewPictureRules),
    {QT_TRANSLATE_NOOP("SettingKeys", "A picture is new when it changed by"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "The server's Last-Modified line: a new time stamp makes a new picture, whatever it shows. The picture's "
         "content: the picture itself changed (identical bytes never have); suits cams that send no Last-Modified, or "
         "a "
         "new one with every answer. Both: the server says so and the picture changed.")}};
// Under the content rule: a pixel of the small grey copy (about 64 pixels high) has changed when
// its level differs by more than this, of 255.
inline constexpr SettingKey changedPixelLevel{
    "Settings",
    "changedPixelLevel",
    "25",
    SettingStore::Main,
    WholeNumber(0, 254),
    {QT_TRANSLATE_NOOP("SettingKeys", "Content rule: a pixel changed by more than (of 255)"),
     QT_TRANSLATE_NOOP("SettingKeys",
                       "Under the content rule, each picture is compared with the last new one as a small grey copy; a "
                       "pixel of it has "
                       "changed when its brightness differs by more than this many levels of 255.")}};
// Under the content rule: the picture is new when more than this share of its pixels changed, in
// tenths of a percent (5: 0.5%).
inline constexpr SettingKey changedAreaPerMille{
    "Settings",
    "changedAreaPerMille",
    "5",
    SettingStore::Main,
    WholeNumber(0, 999),
    {QT_TRANSLATE_NOOP("SettingKeys", "Content rule: new when more than N per mille of it changed"),
     QT_TRANSLATE_NOOP("SettingKeys",
                       "Under the content rule, a picture is new when more than this many thousandths of its pixels "
                       "changed (5: half a "
                       "percent).")}};

// Where a wall tile shows its cam's name and Last Changed time: "bottom" over the picture's
// lower edge, as it always did; "top" over its upper edge, for cams that print their own
// caption at the bottom; "hidden" not at all.
inline constexpr SettingChoice kWallNameBandPlaces[] = {{"bottom", QT_TRANSLATE_NOOP("SettingKeys", "At the bottom")},
                                                        {"top", QT_TRANSLATE_NOOP("SettingKeys", "At the top")},
                                                        {"hidden", QT_TRANSLATE_NOOP("SettingKeys", "Hidden")}};
inline constexpr SettingKey wallNameBand{
    "Settings",
    "wallNameBand",
    "bottom",
    SettingStore::Main,
    OneOf(kWallNameBandPlaces),
    {QT_TRANSLATE_NOOP("SettingKeys", "Wall: name and time band"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "Where each wall tile shows its cam's name and the time its picture last changed. At the top suits cams that "
         "print their own caption at the bottom of the picture; hidden leaves the whole picture free.")}};

// "1": a cam that has been failing, frozen or stale for alertAfterSeconds is told as a desktop
// notification, and so is its return; "0": no notifications, as always.
inline constexpr SettingKey alertNotifications{
    "Settings",
    "alertNotifications",
    "0",
    SettingStore::Main,
    Flag(),
    {QT_TRANSLATE_NOOP("SettingKeys", "Desktop notifications when a cam goes down"),
     QT_TRANSLATE_NOOP("SettingKeys",
                       "A cam that has been failing, frozen or stale for the time below is told in a desktop "
                       "notification, and so is its "
                       "return. Cams that change together share one notification.")}};
// How long (in seconds, all told) a cam is down before it alerts; it alerts at most once in that
// time, however often it comes and goes.
inline constexpr SettingKey alertAfterSeconds{
    "Settings",
    "alertAfterSeconds",
    "60",
    SettingStore::Main,
    WholeNumber(1, 24 * 60 * 60),
    {QT_TRANSLATE_NOOP("SettingKeys", "Alert after (seconds a cam is down)"),
     QT_TRANSLATE_NOOP("SettingKeys",
                       "A cam alerts once it has been failing, frozen or stale for this many "
                       "seconds, added up while it comes and goes, and "
                       "at most once in this time.")}};
// A program and its arguments (split as a command line, quotes group words; never given to a
// shell), run on each alert with TOLVANE_CAM, TOLVANE_STATE, TOLVANE_REASON, TOLVANE_SINCE and
// TOLVANE_PICTURE in its environment. Empty: none.
inline constexpr SettingKey alertCommand{
    "Settings",
    "alertCommand",
    "",
    SettingStore::Main,
    AnyText(),
    {QT_TRANSLATE_NOOP("SettingKeys", "Alert command (program and arguments, no shell)"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "Run on each alert, whether or not notifications are on, with TOLVANE_CAM, TOLVANE_STATE, TOLVANE_REASON, "
         "TOLVANE_SINCE and TOLVANE_PICTURE (the last picture) in its environment. It is stopped after 10 seconds; its "
         "output goes to the log."),
     QT_TRANSLATE_NOOP("SettingKeys", "none")}};
// "1": closing the window leaves the program watching (and alerting) with its tray icon, where
// the desktop has a tray; "0": closing ends the program, as always.
inline constexpr SettingKey keepInTray{
    "Settings",
    "keepInTray",
    "0",
    SettingStore::Main,
    Flag(),
    {QT_TRANSLATE_NOOP("SettingKeys", "Keep watching in the tray when the window is closed"),
     QT_TRANSLATE_NOOP(
         "SettingKeys",
         "Closing the window leaves the cams watched and alerting; the tray icon shows their health, brings the window "
         "back and ends the program (Exit). Without a tray on the desktop, closing still ends the program.")}};
// The session: what start-up brings back when reopenCams is on. Kept in the per-user store
// whenever it changes and at the end; never by the demo, whose cams are not the user's.
// The open cams' names in panel order, one a line; an empty line is a free panel before an open one.
inline constexpr SettingKey sessionCams{"Settings", "sessionCams", "", SettingStore::User, AnyText()};
// The cam the Viewer showed; empty when it showed none.
inline constexpr SettingKey sessionViewerCam{"Settings", "sessionViewerCam", "", SettingStore::User, AnyText()};
// The zoom bar's value, or "fit" when the Viewer showed the whole picture.
inline constexpr SettingKey sessionZoom{
    "Settings", "sessionZoom", "1", SettingStore::User,
    TextAccepting(IsSessionZoomText, QT_TRANSLATE_NOOP("SettingKeys", "The zoom takes 1 to 5, or fit."))};
// "1": the wall showed.
inline constexpr SettingKey sessionWall{"Settings", "sessionWall", "0", SettingStore::User, Flag()};
// The window's place, size and state (maximized, full screen) as Qt saves them, in base64.
inline constexpr SettingKey sessionWindow{"Settings", "sessionWindow", "", SettingStore::User, AnyText()};

// Every key above, once; the Options dialog lists those with a label in this order. The checks
// that keep README.md's "Settings" section and the help true read this list (and fail when a
// key above is missing from it).
inline constexpr SettingKey All[] = {autoSave,
                                     showHelp,
                                     IgnorePermissionDeniedError,
                                     staleMinutes,
                                     frozenMinutes,
                                     keepDays,
                                     keepGigabytes,
                                     recordSchedule,
                                     saveFolder,
                                     pictureNames,
                                     caFile,
                                     finishSlowDownloads,
                                     liveInViewer,
                                     timeServer,
                                     followRedirects,
                                     conditionalRequests,
                                     newPictureRule,
                                     changedPixelLevel,
                                     changedAreaPerMille,
                                     wallNameBand,
                                     alertNotifications,
                                     alertAfterSeconds,
                                     alertCommand,
                                     keepInTray,
                                     reopenCams,
                                     sessionCams,
                                     sessionViewerCam,
                                     sessionZoom,
                                     sessionWall,
                                     sessionWindow};
}  // namespace SettingKeys
