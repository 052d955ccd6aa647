#pragma once
// The choices of the Options dialog: one row per choice, stored as text in the main store
// under "Settings". Every choice is off (or at its old value) by default, so a program whose
// store holds none of them behaves as it always did. A new choice is its key and default in
// SettingKeys.h and one more row in MakeRows() (Options.cpp); the dialog and OptionValue() need
// nothing else. For example:
//     rows.push_back(CheckOption(SettingKeys::followRedirects, "Follow redirects"));
//     rows.push_back(NumberOption(SettingKeys::staleSeconds, "Stale after N seconds", 1, 86400));
//     rows.back().tip = "...";
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "SettingKeys.h"

enum class OptionKind {
    Check,   // a check box: "1" on, "0" off
    Number,  // a whole number within [minimum, maximum]; empty only when emptyAllowed
    Text,    // any text
    File,    // a path, typed or chosen with "Browse…"
};

struct OptionRow {
    QString key;    // the main store's key, under "Settings"
    QString label;  // what the dialog shows beside (or on) the control
    OptionKind kind = OptionKind::Check;
    QString defaultValue;       // the value when the store holds none
    QString tip;                // tool tip of the control; may be empty
    int minimum = 0;            // Number only
    int maximum = 0;            // Number only
    bool emptyAllowed = false;  // Number only: the empty text is a value of its own
    QString placeholder;        // Number, Text, File: shown while the field is empty
    // Text only: the texts the row takes (every text when unset), and what the dialog says
    // about one it does not take.
    std::function<bool(const QString&)> accepts;
    QString acceptsHint;
};

// Rows of each kind; the other members keep their defaults and can be set afterwards.
OptionRow CheckOption(const QString& key, const QString& label, const QString& defaultValue);
OptionRow NumberOption(const QString& key, const QString& label, const QString& defaultValue, int minimum, int maximum);
OptionRow TextOption(const QString& key, const QString& label, const QString& defaultValue);
OptionRow FileOption(const QString& key, const QString& label, const QString& defaultValue);
// The same for a named key: its name and its default come from SettingKeys.h.
OptionRow CheckOption(const SettingKey& key, const QString& label);
OptionRow NumberOption(const SettingKey& key, const QString& label, int minimum, int maximum);
OptionRow TextOption(const SettingKey& key, const QString& label);
OptionRow FileOption(const SettingKey& key, const QString& label);

// Every choice of the Options dialog, in the order shown.
const std::vector<OptionRow>& OptionRows();
// The row of a key; nullptr when no row has it.
const OptionRow* FindOptionRow(const QString& key);

// Whether text is a value the row accepts (a number's range, "0"/"1" for a check box).
bool IsValidOptionValue(const OptionRow& row, const QString& text);
// What the dialog says when text is not a value of the row.
QString OptionValueHint(const OptionRow& row);
// A daytime server as the GMT clock takes it: "host", "host:port", "[IPv6]" or "[IPv6]:port"
// (a bare IPv6 address too), port 1 to 65535; or the empty text, which means the default server.
// No scheme, path, user part or blank.
bool IsTimeServerText(const QString& text);

// The stored value of a choice, or its default when the store holds none, cannot be read
// or holds a value the row does not accept (the choice then acts as off). Never throws; a key
// without a row reads as the empty text.
QString OptionValue(const QString& key);
QString OptionValue(const OptionRow& row);
// A Check row's value as a flag.
bool OptionIsOn(const QString& key);
// A Number row's value; nullopt when it is empty (for example "forever").
std::optional<int> OptionNumber(const QString& key);
// The same for a named key.
QString OptionValue(const SettingKey& key);
bool OptionIsOn(const SettingKey& key);
std::optional<int> OptionNumber(const SettingKey& key);

// Stores a choice through WriteSetting (the "Permission Denied" handling included).
void WriteOption(const QString& key, const QString& value);
