#include "CamSettings.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QUrl>

#include "IniFile.h"
#include "ProductInfo.h"
#include "Settings.h"

namespace {
// Beside the program's other main-store settings. A cam name may hold any character, "/" (the
// group separator) among them, so it is stored percent-encoded.
QString camsGroup()
{
    return CompanyName().trimmed() + QLatin1Char('/') + ProductName() + QStringLiteral("/Cams");
}

QString camKey(const QString& cam)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(cam));
}

// What the file looked like when it was last read, and every cam's values as read then.
struct Cache {
    QMutex mutex;
    QString path;
    qint64 size = -1;
    QDateTime modified;
    bool valid = false;
    QHash<QString, QMap<QString, QString>> cams;  // by encoded cam name
};

Cache& cache()
{
    static Cache instance;
    return instance;
}

QHash<QString, QMap<QString, QString>> byCam(const QMap<QString, QString>& values)
{
    QHash<QString, QMap<QString, QString>> cams;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        if (slash > 0)
            cams[it.key().left(slash)].insert(it.key().mid(slash + 1), it.value());
    }
    return cams;
}

// The cached values, read again when the file is another or has changed. Called locked.
const QHash<QString, QMap<QString, QString>>& currentCams(Cache& c)
{
    const QString path = MainSettingsPath();
    const QFileInfo info(path);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (!c.valid || c.path != path || c.size != size || c.modified != modified) {
        QMap<QString, QString> values;
        ReadIniGroup(path, camsGroup(), &values);
        c.cams = byCam(values);
        c.path = path;
        c.size = size;
        c.modified = modified;
        c.valid = true;
    }
    return c.cams;
}

// Replaces the values of the cams named in `changes` (an empty map removes the cam) in one
// write, and accepts the file only when it reads back with exactly those values.
bool writeCams(const QHash<QString, QMap<QString, QString>>& changes, QString* reason)
{
    Cache& c = cache();
    QMutexLocker lock(&c.mutex);
    const QString group = camsGroup();
    const bool written = EditIniFile(
        MainSettingsPath(),
        [&](QSettings& settings) {
            for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
                const QString camGroup = group + QLatin1Char('/') + it.key();
                settings.remove(camGroup);
                for (auto value = it->cbegin(); value != it->cend(); ++value)
                    settings.setValue(camGroup + QLatin1Char('/') + value.key(), value.value());
            }
        },
        [&](const QByteArray& newBytes) {
            QMap<QString, QString> values;
            if (ReadIniGroupOf(newBytes, group, &values) == IniReadStatus::Malformed)
                return false;
            const auto cams = byCam(values);
            for (auto it = changes.cbegin(); it != changes.cend(); ++it)
                if (cams.value(it.key()) != *it)
                    return false;
            return true;
        },
        reason);
    c.valid = false;
    return written;
}
}  // namespace

QString CamSetting(const QString& cam, const QString& name, const QString& fallback)
{
    return CamSettingsOf(cam).value(name, fallback);
}

QMap<QString, QString> CamSettingsOf(const QString& cam)
{
    Cache& c = cache();
    QMutexLocker lock(&c.mutex);
    return currentCams(c).value(camKey(cam));
}

bool SetCamSetting(const QString& cam, const QString& name, const QString& value, QString* reason)
{
    QMap<QString, QString> values = CamSettingsOf(cam);
    if (value.isEmpty() ? !values.contains(name) : values.value(name) == value)
        return true;
    if (value.isEmpty())
        values.remove(name);
    else
        values.insert(name, value);
    return writeCams({{camKey(cam), values}}, reason);
}

bool RenameCamSettings(const QString& oldName, const QString& newName, QString* reason)
{
    const QMap<QString, QString> values = CamSettingsOf(oldName);
    if (values.isEmpty() || oldName == newName)
        return true;
    return writeCams({{camKey(oldName), {}}, {camKey(newName), values}}, reason);
}

bool RemoveCamSettings(const QString& cam, QString* reason)
{
    if (CamSettingsOf(cam).isEmpty())
        return true;
    return writeCams({{camKey(cam), {}}}, reason);
}

bool CamAutoSaves(const QString& cam)
{
    return FlagFromText(CamSetting(cam, QString::fromLatin1(CamSettingNames::autoSave))).value_or(true);
}

bool CamRecorded(const QString& cam)
{
    return FlagFromText(CamSetting(cam, QString::fromLatin1(CamSettingNames::record))).value_or(false);
}
