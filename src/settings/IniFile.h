#pragma once
// One INI settings file, read and written whole through QSettings on a private copy, so that
// no reader ever sees a value whose write failed and a failed write leaves the file as it was.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>
#include <functional>

class QSettings;

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

// Every text value under group (a QSettings group path), keyed by its path below the group
// ("sub/name"); values that are not texts are left out. A missing file is an empty map.
IniReadStatus ReadIniGroup(const QString& path, const QString& group, QMap<QString, QString>* values,
                           QString* reason = nullptr);
// The same, from a settings file's bytes.
IniReadStatus ReadIniGroupOf(const QByteArray& bytes, const QString& group, QMap<QString, QString>* values,
                             QString* reason = nullptr);
// Applies edit to the file's values; the file is replaced only when accept, given the bytes that
// would be written, agrees that they read back as intended. false with the reason otherwise (the
// file is then left unchanged).
bool EditIniFile(const QString& path, const std::function<void(QSettings&)>& edit,
                 const std::function<bool(const QByteArray&)>& accept, QString* reason = nullptr);
