#pragma once
// The settings store: the main store (an INI file in the program folder, standing in for the
// per-machine registry key) and the per-user store (QSettings user scope).
#include <QString>

QString MainSettingsPath();   // program folder + "/Tolvane.ini"

// Throws TolvaneError with the store's numbers and texts (0x800403E8 and up).
QString ReadSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue);
// Never throws; a failed write goes through the "Permission Denied" prompt.
void WriteSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

// Per-user store, addressed like the main store; reads give the default when absent.
QString GetUserSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue);
bool SaveUserSetting(const QString& appName, const QString& section, const QString& key, const QString& value);
