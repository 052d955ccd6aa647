// The settings files as anything may have left them: reading never crashes and answers only
// with the store's own error numbers, and a write that succeeds reads back exactly while the
// other settings keep their values; a write that fails leaves the file as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <QStringList>
#include <array>

#include "FuzzSupport.h"
#include "IniFile.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "Settings.h"
#include "TolvaneError.h"

namespace {
const QString kSection = QStringLiteral("Settings");
const QStringList kKeys = {SettingKeys::autoSave.Name(), SettingKeys::showHelp.Name(),
                           SettingKeys::IgnorePermissionDeniedError.Name()};
const QString kDefault = QStringLiteral("<default>");

struct Outcome {
    bool threw = false;
    std::uint32_t number = 0;
    QString value;
    bool operator==(const Outcome&) const = default;
};

Outcome Read(const QString& key)
{
    Outcome outcome;
    try {
        outcome.value = ReadSetting(ProductName(), kSection, key, kDefault);
    } catch (const TolvaneError& error) {
        outcome.threw = true;
        outcome.number = error.number();
    }
    return outcome;
}

QString Described(const Outcome& outcome)
{
    return outcome.threw ? QStringLiteral("error %1").arg(outcome.number, 0, 16)
                         : QLatin1Char('"') + outcome.value + QLatin1Char('"');
}

// Whether the file may hold the key in a form Qt sees but cannot read: it names it, or it
// escapes letters with "%".
bool MayHideKey(const QByteArray& bytes, const QString& key)
{
    return bytes.contains(key.toUtf8()) || bytes.contains('%');
}

bool IsStoreError(std::uint32_t number)
{
    // Not a string (none, binary, number, multi-string), or the file unreadable or not settings.
    constexpr std::uint32_t kBase = 0x800407D0;
    constexpr std::array<std::uint32_t, 6> kOffsets = {0, 3, 4, 5, 7, 13};
    for (const std::uint32_t offset : kOffsets)
        if (number == kBase + offset)
            return true;
    return false;
}

// Where ReadSetting keeps a key in the main file.
QString MainKeyPath(const QString& key)
{
    return CompanyName() + QLatin1Char('/') + ProductName() + QLatin1Char('/') + kSection + QLatin1Char('/') + key;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // As in the program, a GUI application exists: a typed value may hold a picture or a
    // cursor, which Qt can only make with one (without it, it stops the process).
    StartFuzzApplication(FuzzApp::Gui);
    SetProgramFolder(FuzzScratchFolder());
    SetUserSettingsPath(FuzzScratchFolder() + QStringLiteral("/user.ini"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString key = kKeys[input.ConsumeIntegralInRange<qsizetype>(0, kKeys.size() - 1)];
    const QString value = QString::fromUtf8(QByteArray::fromStdString(input.ConsumeRandomLengthString(64)));
    const QByteArray bytes = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());

    // The per-user store never raises anything: a damaged file gives the default.
    FuzzWriteFile(UserSettingsPath(), bytes);
    const QString user = GetUserSetting(ProductName(), kSection, key, kDefault);
    FUZZ_CHECK(!user.isNull(), key);

    const QString path = MainSettingsPath();
    FuzzWriteFile(path, bytes);
    QList<Outcome> before;
    for (const QString& each : kKeys) {
        before.append(Read(each));
        FUZZ_CHECK(!before.last().threw || IsStoreError(before.last().number),
                   QString::number(before.last().number, 16));
    }
    const IniReadResult direct = ReadIniValue(path, MainKeyPath(key));
    const Outcome& mine = before[kKeys.indexOf(key)];
    FUZZ_CHECK((direct.status == IniReadStatus::Malformed) == (mine.threw && mine.number == 0x800407D0 + 13), key);
    FUZZ_CHECK((direct.status == IniReadStatus::Missing) ==
                   (!mine.threw && mine.value == kDefault && !direct.value.isValid()),
               key);

    QString reason;
    if (!WriteIniValue(path, MainKeyPath(key), value, &reason)) {
        FUZZ_CHECK(FuzzReadFile(path) == bytes, QStringLiteral("a failed write changed the file: ") + reason);
        return 0;
    }
    for (qsizetype i = 0; i < kKeys.size(); ++i) {
        const Outcome after = Read(kKeys[i]);
        if (kKeys[i] == key)
            FUZZ_CHECK(!after.threw && after.value == value,
                       QStringLiteral("wrote \"%1\", read \"%2\" (error %3)")
                           .arg(value, after.value)
                           .arg(after.number, 0, 16));
        else if (before[i].threw)
            // Qt rewrites every value of the file in its own form: a typed value (a number as
            // @Variant, a list holding a NUL) may come back as another type or as plain text.
            // The program itself only ever stores text.
            FUZZ_CHECK(!after.threw || IsStoreError(after.number),
                       QStringLiteral("writing %1 made %2 %3").arg(key, kKeys[i], Described(after)));
        else if (!before[i].threw && before[i].value == kDefault && MayHideKey(bytes, kKeys[i]))
            // Qt lists some keys whose damaged value it cannot read (a NUL in it, say), and its
            // rewrite then stores what it could make of the text.
            continue;
        else
            FUZZ_CHECK(after == before[i],
                       QStringLiteral("writing %1 changed %2: %3 -> %4")
                           .arg(key, kKeys[i], Described(before[i]), Described(after)));
    }
    return 0;
}
