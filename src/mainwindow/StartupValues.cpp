#include "StartupValues.h"

#include <QLocale>
#include <cmath>
#include <limits>

#include "ProductInfo.h"
#include "Settings.h"
#include "TolvaneError.h"

namespace {
const QString kSection = QStringLiteral("Settings");

QString ErrorText(const TolvaneError& error)
{
    return QStringLiteral("%1 (error 0x%2)").arg(error.description()).arg(error.number(), 8, 16, QLatin1Char('0'));
}
}  // namespace

std::optional<bool> AutoSaveFromText(const QString& text)
{
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const double whole = std::nearbyint(number);  // the default rounding mode: halves to even
    if (whole == 0)
        return false;
    if (whole == 1)
        return true;
    return std::nullopt;
}

StartupChoice ReadAutoSaveChoice()
{
    StartupChoice choice;
    QString stored;
    try {
        stored = ReadSetting(ProductName(), kSection, QStringLiteral("autoSave"), QStringLiteral("0"));
    } catch (const TolvaneError& error) {
        choice.problem = QStringLiteral("The setting \"autoSave\" could not be read: %1. "
                                        "AutoSave New Pictures starts switched off.")
                             .arg(ErrorText(error));
        return choice;
    }
    if (const auto value = AutoSaveFromText(stored)) {
        choice.value = *value;
    } else {
        choice.problem = QStringLiteral("The stored setting \"autoSave\" is \"%1\", which is neither 0 nor 1. "
                                        "AutoSave New Pictures starts switched off.")
                             .arg(stored);
    }
    return choice;
}

StartupChoice ReadShowHelpChoice()
{
    // Two reads with different defaults tell "absent" apart from any stored text.
    const QString key = QStringLiteral("showHelp");
    const QString userOff = GetUserSetting(ProductName(), kSection, key, QStringLiteral("0"));
    const QString userOn = GetUserSetting(ProductName(), kSection, key, QStringLiteral("1"));
    if (userOff == userOn)
        return {userOn == QLatin1String("1"), {}};
    StartupChoice choice;
    try {
        choice.value = ReadSetting(ProductName(), kSection, key, QStringLiteral("1")) == QLatin1String("1");
    } catch (const TolvaneError& error) {
        choice.value = true;
        choice.problem =
            QStringLiteral("The setting \"showHelp\" could not be read: %1. The Help window opens as usual.")
                .arg(ErrorText(error));
    }
    return choice;
}

int ReadStaleMinutes()
{
    constexpr int kDefault = 10;
    try {
        bool ok = false;
        const int minutes =
            ReadSetting(ProductName(), kSection, QStringLiteral("staleMinutes"), QString::number(kDefault))
                .trimmed()
                .toInt(&ok);
        return ok && minutes >= 1 ? minutes : kDefault;
    } catch (const TolvaneError&) {
        return kDefault;  // the autoSave read reports a store that cannot be read
    }
}
