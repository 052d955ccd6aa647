#pragma once
// Every setting the program reads or writes, named once with its section and its default. Code
// reads and writes them through the store's SettingKey overloads (Settings.h), never by spelling
// a key. The names are what the settings files hold: renaming one loses the users' stored value.
//
// A new setting gets its line here and in All below, a row in README.md's "Settings" section and
// a line in resources/Help.rtf; a test fails until it has all four.
#include <QString>

struct SettingKey {
    const char* section;
    const char* name;
    const char* defaultValue;  // what a read gives when the store holds nothing

    QString Section() const { return QString::fromLatin1(section); }
    QString Name() const { return QString::fromLatin1(name); }
    QString Default() const { return QString::fromUtf8(defaultValue); }
};

namespace SettingKeys {
// Main store. "1": "AutoSave New Pictures" is ticked at start; "0": it is not. Read once at
// start; written whenever the box changes.
inline constexpr SettingKey autoSave{"Settings", "autoSave", "0"};
// Main store and per-user store. "1": the Help window opens at start. The per-user value is the
// Help window's own "Show at Startup" box and wins whenever it is there; the main store's value
// counts only without it (the demo folder writes "0" there).
inline constexpr SettingKey showHelp{"Settings", "showHelp", "1"};
// Main store. The daytime server the GMT clock asks: "host", "host:port" or "[IPv6]:port"
// (port 13 when none is given). The demo folder points it at its own responder.
inline constexpr SettingKey timeServer{"Settings", "timeServer", "time.nist.gov"};
// Main store, Options dialog ("Keep saved pictures for N days"). Empty: saved pictures are kept
// for ever. A whole number from 1 to 36500: pictures the program saved and indexed are deleted
// once they are that many days old, at start and every hour. Anything else counts as empty.
inline constexpr SettingKey keepDays{"Settings", "keepDays", ""};
// Per-user store. "1" once the user answered "Ignore" to "Permission Denied": a main store that
// cannot be written is then passed over without a word.
inline constexpr SettingKey IgnorePermissionDeniedError{"Settings", "IgnorePermissionDeniedError", "0"};
// Main store, Options dialog. A cam whose pictures keep coming but none of them new (by its
// Last-Modified line) is stale after this many minutes, or after ten of its refresh intervals
// when that is longer. Whole minutes from 1 up.
inline constexpr SettingKey staleMinutes{"Settings", "staleMinutes", "10"};
// Main store, Options dialog. A PEM file of certificate authorities that https cams are trusted
// by, on top of the system's and those SSL_CERT_FILE and SSL_CERT_DIR name. Empty: none.
inline constexpr SettingKey caFile{"Settings", "caFile", ""};
// Main store, Options dialog. "1": when a cam's refresh interval ends while the picture is still
// arriving (a byte of it within the last 5 s), the download goes on and the next fetch starts as
// soon as it ends; one with no byte for 10 s is abandoned. "0": the next fetch abandons it.
inline constexpr SettingKey finishSlowDownloads{"Settings", "finishSlowDownloads", "0"};
// Main store, Options dialog. "1": a cam's 301, 302, 303, 307 and 308 answers are followed, up
// to 5 hops (http to https allowed, https to http refused); "0": they show the not-found picture.
inline constexpr SettingKey followRedirects{"Settings", "followRedirects", "0"};
// Main store, Options dialog. "1": each fetch after a picture asks whether it changed
// (If-None-Match, If-Modified-Since), and a 304 keeps the picture; "0": every fetch downloads it.
inline constexpr SettingKey conditionalRequests{"Settings", "conditionalRequests", "0"};

// Every key above, once. The checks that keep README.md's "Settings" section true read this
// list (and fail when a key above is missing from it).
inline constexpr SettingKey All[] = {autoSave,        showHelp,           timeServer, IgnorePermissionDeniedError,
                                     keepDays,        staleMinutes,       caFile,     finishSlowDownloads,
                                     followRedirects, conditionalRequests};
}  // namespace SettingKeys
