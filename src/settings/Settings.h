#pragma once
// The settings store: the main store (an INI file in the program folder, standing in for the
// per-machine registry key) and the per-user store (QSettings user scope).
#include <QString>
#include <optional>

#include "SettingKeys.h"

QString MainSettingsPath();  // program folder + "/" + product name + ".ini" ("Tolvane.ini")
// The per-user store's file: QSettings' user-scope INI file for company and product, unless a
// test has pointed it elsewhere (the empty path restores the default).
QString UserSettingsPath();
void SetUserSettingsPath(const QString& path);

// Throws TolvaneError with the store's numbers and texts (0x800403E8 and up).
QString ReadSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue);
// Never throws; a failed write goes through the "Permission Denied" prompt.
void WriteSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

// Per-user store, addressed like the main store without the company (the file is already the
// company's and product's); reads give the default when absent, unreadable or not a string;
// SaveUserSetting answers whether the value was stored.
QString GetUserSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue);
bool SaveUserSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

// The program's own settings (SettingKeys.h), under the product's name; reads default to the
// key's default unless one is given.
QString ReadSetting(const SettingKey& key);
void WriteSetting(const SettingKey& key, const QString& value);
QString GetUserSetting(const SettingKey& key);
QString GetUserSetting(const SettingKey& key, const QString& defaultValue);
bool SaveUserSetting(const SettingKey& key, const QString& value);

// A key's value as the program uses it, read from the key's store by its rule: the stored
// text when the key takes it, else the key's default (also when the store cannot be read).
// Never throws. A flag reads as "1" or "0" (FlagFromText). Defined in Options.cpp, through the
// key's row, so that the dialog and the program read a value alike.
QString SettingValue(const SettingKey& key);
bool SettingIsOn(const SettingKey& key);
// A Number key's value; nullopt when it is empty (a value of its own for some keys) or the key
// is no number.
std::optional<int> SettingNumber(const SettingKey& key);
