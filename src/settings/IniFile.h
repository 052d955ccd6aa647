#pragma once
// One INI settings file, read and written whole through QSettings on a private copy, so that
// no reader ever sees a value whose write failed and a failed write leaves the file as it was.
#include <QString>
#include <QVariant>

enum class IniReadStatus { Found, Missing, Unreadable, Malformed };

struct IniReadResult {
    IniReadStatus status = IniReadStatus::Missing;
    QVariant value;  // as QSettings reads it, when found
    QString reason;  // the operating system's reason, when unreadable or malformed
};

// key is the QSettings key path ("group/.../name"). A missing file or value is Missing.
IniReadResult ReadIniValue(const QString& path, const QString& key);
// Stores value under key, creating the file and its folder when missing; false with the
// reason when the file could not be read, parsed or replaced (then it is left unchanged).
bool WriteIniValue(const QString& path, const QString& key, const QString& value, QString* reason = nullptr);
