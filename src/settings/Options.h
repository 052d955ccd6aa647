#pragma once
// The choices of the Options dialog as rows: one per setting with a label in SettingKeys.h, in
// the order of SettingKeys::All, each with the values it takes, and the reading of a stored
// value through that rule. A new choice is one declaration in SettingKeys.h; the dialog,
// OptionValue() and the documentation checks need nothing else. For example:
//     inline constexpr SettingKey staleMinutes{"Settings", "staleMinutes", "10", SettingStore::Main,
//                                              WholeNumber(1, 10080), {"Stale after (minutes)", "tip"}};
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
    Folder,  // a folder's path, typed or chosen with "Browse…"
    Choice,  // one of `choices`, from a list
};

struct OptionChoice {
    QString value;  // what the store holds
    QString label;  // what the dialog shows
};

struct OptionRow {
    QString key;    // the setting's name
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
    std::vector<OptionChoice> choices;  // Choice only
    QString section = QStringLiteral("Settings");
    SettingStore store = SettingStore::Main;
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
// The whole row of a key as SettingKeys.h defines it: store, rule, label, tip, placeholder.
OptionRow OptionRowOf(const SettingKey& key);

// Every choice of the Options dialog, in the order shown.
const std::vector<OptionRow>& OptionRows();
// The row of a key; nullptr when no row has it.
const OptionRow* FindOptionRow(const QString& key);

// Whether text is a value the row accepts (a number's range, an on/off text for a check box,
// one of the choices).
bool IsValidOptionValue(const OptionRow& row, const QString& text);
// What the dialog says when text is not a value of the row.
QString OptionValueHint(const OptionRow& row);

// The stored value of a choice, or its default when the store holds none, cannot be read
// or holds a value the row does not accept (the choice then acts as off); a check box's value
// is "1" or "0". Never throws; a key without a row reads as the empty text.
QString OptionValue(const QString& key);
QString OptionValue(const OptionRow& row);
// A Check row's value as a flag.
bool OptionIsOn(const QString& key);
// A Number row's value; nullopt when it is empty (for example "forever").
std::optional<int> OptionNumber(const QString& key);
// The same for a named key that has a row of the dialog (SettingValue and its kin in
// Settings.h read any key).
QString OptionValue(const SettingKey& key);
bool OptionIsOn(const SettingKey& key);
std::optional<int> OptionNumber(const SettingKey& key);

// Stores a choice in the main store through WriteSetting (the "Permission Denied" handling
// included); the row's form stores it where the row is kept.
void WriteOption(const QString& key, const QString& value);
void WriteOption(const OptionRow& row, const QString& value);
