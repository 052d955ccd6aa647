#include "Settings.h"

#include <QSettings>
#include <QStringList>

#include "IniFile.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "Prompt.h"
#include "TolvaneError.h"

namespace {
constexpr std::uint32_t kAppNameEmpty = 0x800403E8;
constexpr std::uint32_t kSectionEmpty = 0x800403E9;
constexpr std::uint32_t kKeyEmpty = 0x800403EA;
constexpr std::uint32_t kRegistryBase = 0x800407D0;

// The status numbers added to kRegistryBase when the main settings file exists but cannot be
// used, named after the registry's: 5 access denied (cannot be opened or read), 13 invalid
// data (the file cannot be parsed as settings).
constexpr std::uint32_t kStatusAccessDenied = 5;
constexpr std::uint32_t kStatusInvalidData = 13;

// The type codes added to kRegistryBase for a value that is not a plain string. The INI file's
// plain text is the only string (the registry's type 1); the others mirror the registry's:
// 3 binary (a @ByteArray, or any other value QSettings stores serialised, such as a @Point
// or @Variant of a non-numeric type), 4 number (a numeric or Boolean @Variant), 7 multi-string
// (a comma-separated list, which QSettings reads as a string list), 0 none (@Invalid()).
constexpr std::uint32_t kTypeNone = 0;
constexpr std::uint32_t kTypeBinary = 3;
constexpr std::uint32_t kTypeNumber = 4;
constexpr std::uint32_t kTypeMultiString = 7;

QString& userSettingsPathOverride()
{
    static QString path;
    return path;
}

QString errorSource()
{
    return ExecutableName() + QStringLiteral(".Settings");
}

// Company, AppName and Section are stripped of blanks and joined; the Key is kept as given,
// so " autoSave " and "autoSave" are different values.
QString mainKeyPath(const QString& appName, const QString& section, const QString& key)
{
    return CompanyName().trimmed() + QLatin1Char('/') + appName.trimmed() + QLatin1Char('/') + section.trimmed() +
        QLatin1Char('/') + key;
}

QString userKeyPath(const QString& appName, const QString& section, const QString& key)
{
    return appName.trimmed() + QLatin1Char('/') + section.trimmed() + QLatin1Char('/') + key;
}

std::uint32_t typeCode(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        return kTypeNone;
    case QMetaType::QStringList:
        return kTypeMultiString;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong:
        return kTypeNumber;
    default:
        return kTypeBinary;
    }
}

QString permissionDeniedText()
{
    return ProductName() +
        QStringLiteral(" requires read/write access to the system registry and hard drive in order to run properly.  "
                       "This user account does not have the proper permissions set.  As a result some or all of "
                       "your settings may not be properly saved.  Please contact your system administrator or "
                       "change the permission settings for this account.") +
        QStringLiteral("\r\n\r\n") +
        QStringLiteral("If you would like to prevent this error message from being displayed again, please press "
                       "'Ignore'.");
}
}  // namespace

QString MainSettingsPath()
{
    return ProgramPath(ProductName() + QStringLiteral(".ini"));
}

QString UserSettingsPath()
{
    if (!userSettingsPathOverride().isEmpty())
        return userSettingsPathOverride();
    return QSettings(QSettings::IniFormat, QSettings::UserScope, CompanyName(), ProductName()).fileName();
}

void SetUserSettingsPath(const QString& path)
{
    userSettingsPathOverride() = path;
}

QString ReadSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    if (appName.trimmed().isEmpty())
        throw TolvaneError(kAppNameEmpty, errorSource(), QStringLiteral("AppName may not be empty"));
    if (section.trimmed().isEmpty())
        throw TolvaneError(kSectionEmpty, errorSource(), QStringLiteral("Section may not be empty"));
    if (key.trimmed().isEmpty())
        throw TolvaneError(kKeyEmpty, errorSource(), QStringLiteral("Key may not be empty"));

    const IniReadResult read = ReadIniValue(MainSettingsPath(), mainKeyPath(appName, section, key));
    switch (read.status) {
    case IniReadStatus::Missing:
        return defaultValue;
    case IniReadStatus::Unreadable:
        throw TolvaneError(kRegistryBase + kStatusAccessDenied, errorSource(),
                           QStringLiteral("Could not open registry section"));
    case IniReadStatus::Malformed:
        throw TolvaneError(kRegistryBase + kStatusInvalidData, errorSource(),
                           QStringLiteral("Could not open registry section"));
    case IniReadStatus::Found:
        break;
    }
    if (read.value.metaType().id() != QMetaType::QString)
        throw TolvaneError(kRegistryBase + typeCode(read.value), errorSource(),
                           QStringLiteral("Registry data not a string"));
    return read.value.toString();
}

void WriteSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    // An empty key would name the section itself in the INI file, and no read can address it.
    if (key.isEmpty())
        return;
    const QString keyPath = mainKeyPath(appName, section, key);
    for (;;) {
        if (WriteIniValue(MainSettingsPath(), keyPath, value))
            return;
        if (FlagTextIsExactlyOn(GetUserSetting(SettingKeys::IgnorePermissionDeniedError)))
            return;
        // No parent: the message box goes over whichever window is active.
        const PromptAnswer answer = CurrentPrompt().ask(QStringLiteral("Permission Denied"), permissionDeniedText(),
                                                        PromptButtons::AbortRetryIgnore);
        if (answer == PromptAnswer::Retry)
            continue;
        if (answer == PromptAnswer::Ignore)
            SaveUserSetting(SettingKeys::IgnorePermissionDeniedError, QStringLiteral("1"));
        return;
    }
}

QString GetUserSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    if (key.isEmpty())
        return defaultValue;
    const IniReadResult read = ReadIniValue(UserSettingsPath(), userKeyPath(appName, section, key));
    if (read.status != IniReadStatus::Found || read.value.metaType().id() != QMetaType::QString)
        return defaultValue;
    return read.value.toString();
}

bool SaveUserSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    if (key.isEmpty())
        return false;
    return WriteIniValue(UserSettingsPath(), userKeyPath(appName, section, key), value);
}

QString ReadSetting(const SettingKey& key)
{
    return ReadSetting(ProductName(), key.Section(), key.Name(), key.Default());
}

void WriteSetting(const SettingKey& key, const QString& value)
{
    WriteSetting(ProductName(), key.Section(), key.Name(), value);
}

QString GetUserSetting(const SettingKey& key)
{
    return GetUserSetting(key, key.Default());
}

QString GetUserSetting(const SettingKey& key, const QString& defaultValue)
{
    return GetUserSetting(ProductName(), key.Section(), key.Name(), defaultValue);
}

bool SaveUserSetting(const SettingKey& key, const QString& value)
{
    return SaveUserSetting(ProductName(), key.Section(), key.Name(), value);
}
