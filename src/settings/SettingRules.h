#pragma once
// The rules that read a stored setting's text: whether it is on or off, and whether a text
// names a daytime server. Shared by the store's typed reads, the Options dialog and start-up.
#include <QString>
#include <optional>

// What a stored on/off text means, the one way every switch is read: the text as a whole number,
// as the original converted it (blanks around it allowed, a fraction rounded half to even), 0
// off and 1 on; anything else is neither, and the reader falls back to the setting's default.
std::optional<bool> FlagFromText(const QString& text);

// The one exception: where the original compares the text itself (start-up's "showHelp" and the
// "Permission Denied" ignore flag), only the text "1" is on; " 1" or "1.0" are not.
bool FlagTextIsExactlyOn(const QString& text);

// A daytime server as the GMT clock takes it: "host", "host:port", "[IPv6]" or "[IPv6]:port"
// (a bare IPv6 address too), port 1 to 65535; or the empty text, which means the default server.
// No scheme, path, user part or blank.
bool IsTimeServerText(const QString& text);

// The Viewer's remembered zoom: a step of the zoom bar, "1" to "5", or "fit" (blanks around it
// and the letter case do not count).
bool IsSessionZoomText(const QString& text);
