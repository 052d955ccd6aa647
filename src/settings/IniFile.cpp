#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>
#include <filesystem>
#include <memory>
#include <system_error>

#include "ReplaceFile.h"

// Why a copy: QSettings keeps every file it has read in a process-wide cache together with
// the changes it could not write, and writes those later or shows them to the next reader.
// A write the user abandoned after "Permission Denied" must leave no trace, so QSettings
// only ever sees a fresh temporary copy, and the real file is read and replaced here.
namespace {
std::unique_ptr<QTemporaryFile> copyOf(const QByteArray& bytes, QString* reason)
{
    auto copy = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tolvane-settings-XXXXXX.ini"));
    if (!copy->open() || copy->write(bytes) != bytes.size() || !copy->flush()) {
        *reason = QStringLiteral("could not make a working copy in %1: %2").arg(QDir::tempPath(), copy->errorString());
        return nullptr;
    }
    return copy;
}

// The file's bytes; empty for a missing file; false when it exists but cannot be read.
bool readBytes(const QString& path, QByteArray* bytes, QString* reason)
{
    if (!QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

const QString kMalformed = QStringLiteral("the file is not a valid settings file");

// The value under key in a settings file's bytes.
IniReadResult readValue(const QByteArray& bytes, const QString& key)
{
    IniReadResult result;
    if (bytes.isEmpty())
        return result;
    const auto copy = copyOf(bytes, &result.reason);
    if (!copy) {
        result.status = IniReadStatus::Unreadable;
        return result;
    }
    QSettings settings(copy->fileName(), QSettings::IniFormat);
    const QVariant value = settings.value(key);
    if (settings.status() != QSettings::NoError) {
        result.status = IniReadStatus::Malformed;
        result.reason = kMalformed;
    } else if (settings.contains(key)) {
        result.status = IniReadStatus::Found;
        result.value = value;
    }
    return result;
}
}  // namespace

IniReadResult ReadIniValue(const QString& path, const QString& key)
{
    QByteArray bytes;
    QString reason;
    if (!readBytes(path, &bytes, &reason))
        return {IniReadStatus::Unreadable, QVariant(), reason};
    return readValue(bytes, key);
}

bool WriteIniValue(const QString& path, const QString& key, const QString& value, QString* reason)
{
    return EditIniFile(
        path, [&](QSettings& settings) { settings.setValue(key, value); },
        [&](const QByteArray& newBytes) {
            const IniReadResult check = readValue(newBytes, key);
            return check.status == IniReadStatus::Found && check.value.metaType().id() == QMetaType::QString &&
                check.value.toString() == value;
        },
        reason);
}

IniReadStatus ReadIniGroup(const QString& path, const QString& group, QMap<QString, QString>* values, QString* reason)
{
    QString ignored;
    QByteArray bytes;
    if (!readBytes(path, &bytes, reason ? reason : &ignored)) {
        values->clear();
        return IniReadStatus::Unreadable;
    }
    return ReadIniGroupOf(bytes, group, values, reason);
}

IniReadStatus ReadIniGroupOf(const QByteArray& bytes, const QString& group, QMap<QString, QString>* values,
                             QString* reason)
{
    QString ignored;
    QString& why = reason ? *reason : ignored;
    values->clear();
    if (bytes.isEmpty())
        return IniReadStatus::Missing;
    const auto copy = copyOf(bytes, &why);
    if (!copy)
        return IniReadStatus::Unreadable;
    QSettings settings(copy->fileName(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        why = kMalformed;
        return IniReadStatus::Malformed;
    }
    settings.beginGroup(group);
    for (const QString& key : settings.allKeys()) {
        const QVariant value = settings.value(key);
        if (value.metaType().id() == QMetaType::QString)
            values->insert(key, value.toString());
    }
    return values->isEmpty() ? IniReadStatus::Missing : IniReadStatus::Found;
}

bool EditIniFile(const QString& path, const std::function<void(QSettings&)>& edit,
                 const std::function<bool(const QByteArray&)>& accept, QString* reason)
{
    QString ignored;
    QString& why = reason ? *reason : ignored;
    QByteArray bytes;
    if (!readBytes(path, &bytes, &why))
        return false;
    const auto copy = copyOf(bytes, &why);
    if (!copy)
        return false;
    {
        QSettings settings(copy->fileName(), QSettings::IniFormat);
        // A damaged file is not rewritten: whatever QSettings could not parse would be lost.
        if (settings.status() != QSettings::NoError) {
            why = kMalformed;
            return false;
        }
        edit(settings);
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            why = QStringLiteral("could not write the working copy in %1").arg(QDir::tempPath());
            return false;
        }
    }
    QFile written(copy->fileName());
    if (!written.open(QIODevice::ReadOnly)) {
        why = written.errorString();
        return false;
    }
    const QByteArray newBytes = written.readAll();
    // QSettings writes some damaged entries back in a form it cannot read itself (a key with an
    // empty name, for one); such a file would make every later read and write fail, so a file
    // that does not give back what was just written is never put in place.
    if (!accept(newBytes)) {
        why = QStringLiteral("the settings file would not read back after the change");
        return false;
    }

    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFileInfo(path).absolutePath().toStdString()), error);
    if (error) {
        why = QString::fromStdString(error.message());
        return false;
    }
    // The same replace as the cam list's, so a crash mid-write leaves a temporary file that the
    // next start recognises and removes.
    const ReplaceFileResult replaced = ReplaceFileContents(path, newBytes);
    if (!replaced.ok()) {
        why = replaced.reason();
        return false;
    }
    return true;
}
