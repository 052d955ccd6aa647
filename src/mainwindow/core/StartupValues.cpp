#include "StartupValues.h"

#include <QCoreApplication>

#include "Settings.h"
#include "TolvaneError.h"

namespace {
QString ErrorText(const TolvaneError& error)
{
    return QCoreApplication::translate("StartupValues", "%1 (error 0x%2)")
        .arg(error.description())
        .arg(error.number(), 8, 16, QLatin1Char('0'));
}
}  // namespace

std::optional<bool> AutoSaveFromText(const QString& text)
{
    return FlagFromText(text);
}

StartupChoice ReadAutoSaveChoice()
{
    StartupChoice choice;
    QString stored;
    try {
        stored = ReadSetting(SettingKeys::autoSave);
    } catch (const TolvaneError& error) {
        choice.problem = QCoreApplication::translate("StartupValues",
                                                     "The setting \"autoSave\" could not be read: %1. "
                                                     "AutoSave New Pictures starts switched off.")
                             .arg(ErrorText(error));
        return choice;
    }
    if (const auto value = AutoSaveFromText(stored)) {
        choice.value = *value;
    } else {
        choice.problem =
            QCoreApplication::translate("StartupValues",
                                        "The stored setting \"autoSave\" is \"%1\", which is neither 0 nor 1. "
                                        "AutoSave New Pictures starts switched off.")
                .arg(stored);
    }
    return choice;
}

StartupChoice ReadShowHelpChoice()
{
    // Two reads with different defaults tell "absent" apart from any stored text.
    const SettingKey& key = SettingKeys::showHelp;
    const QString userOff = GetUserSetting(key, QStringLiteral("0"));
    const QString userOn = GetUserSetting(key, QStringLiteral("1"));
    if (userOff == userOn)
        return {FlagTextIsExactlyOn(userOn), {}};
    StartupChoice choice;
    try {
        choice.value = FlagTextIsExactlyOn(ReadSetting(key));
    } catch (const TolvaneError& error) {
        choice.value = true;
        choice.problem =
            QCoreApplication::translate(
                "StartupValues", "The setting \"showHelp\" could not be read: %1. The Help window opens as usual.")
                .arg(ErrorText(error));
    }
    return choice;
}
