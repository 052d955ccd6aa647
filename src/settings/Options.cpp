#include "Options.h"

#include <QCoreApplication>
#include <QMutex>
#include <algorithm>
#include <map>

#include "ProductInfo.h"
#include "Settings.h"
#include "TolvaneError.h"

namespace {
OptionKind KindOf(SettingType type)
{
    switch (type) {
    case SettingType::Flag:
        return OptionKind::Check;
    case SettingType::Number:
        return OptionKind::Number;
    case SettingType::File:
        return OptionKind::File;
    case SettingType::Folder:
        return OptionKind::Folder;
    case SettingType::Choice:
        return OptionKind::Choice;
    case SettingType::Text:
        break;
    }
    return OptionKind::Text;
}

// A text of SettingKeys.h in the user's language (each is marked there for the translators).
QString Translated(const char* text)
{
    return text ? QCoreApplication::translate("SettingKeys", text) : QString();
}

// A text of SettingKeys.h in the user's language with "{label}" and "{default}" filled in.
QString Filled(const char* text, const OptionRow& row)
{
    if (!text)
        return QString();
    return Translated(text)
        .replace(QLatin1String("{label}"), row.label)
        .replace(QLatin1String("{default}"), row.defaultValue);
}

std::vector<OptionRow> MakeRows()
{
    std::vector<OptionRow> rows;
    for (const SettingKey& key : SettingKeys::All)
        if (key.InOptionsDialog())
            rows.push_back(OptionRowOf(key));
    return rows;
}

std::optional<int> ParseNumber(const OptionRow& row, const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < row.minimum || value > row.maximum)
        return std::nullopt;
    return value;
}

// A Number row's value; nullopt when empty or not a number row.
std::optional<int> NumberOf(const OptionRow& row);

// What the row's store holds, or the row's default when it holds nothing or cannot be read.
QString StoredText(const OptionRow& row)
{
    if (row.store != SettingStore::Main) {
        // Two reads with different defaults tell "absent" apart from any stored text.
        const QString stored = GetUserSetting(ProductName(), row.section, row.key, QStringLiteral("0"));
        if (stored == GetUserSetting(ProductName(), row.section, row.key, QStringLiteral("1")))
            return stored;
        if (row.store == SettingStore::User)
            return row.defaultValue;
    }
    try {
        return ReadSetting(ProductName(), row.section, row.key, row.defaultValue);
    } catch (const TolvaneError&) {
        return row.defaultValue;
    }
}
}  // namespace

OptionRow CheckOption(const QString& key, const QString& label, const QString& defaultValue)
{
    OptionRow row;
    row.key = key;
    row.label = label;
    row.kind = OptionKind::Check;
    row.defaultValue = defaultValue;
    return row;
}

OptionRow NumberOption(const QString& key, const QString& label, const QString& defaultValue, int minimum, int maximum)
{
    OptionRow row = CheckOption(key, label, defaultValue);
    row.kind = OptionKind::Number;
    row.minimum = minimum;
    row.maximum = maximum;
    return row;
}

OptionRow TextOption(const QString& key, const QString& label, const QString& defaultValue)
{
    OptionRow row = CheckOption(key, label, defaultValue);
    row.kind = OptionKind::Text;
    return row;
}

OptionRow FileOption(const QString& key, const QString& label, const QString& defaultValue)
{
    OptionRow row = CheckOption(key, label, defaultValue);
    row.kind = OptionKind::File;
    return row;
}

OptionRow CheckOption(const SettingKey& key, const QString& label)
{
    return CheckOption(key.Name(), label, key.Default());
}

OptionRow NumberOption(const SettingKey& key, const QString& label, int minimum, int maximum)
{
    return NumberOption(key.Name(), label, key.Default(), minimum, maximum);
}

OptionRow TextOption(const SettingKey& key, const QString& label)
{
    return TextOption(key.Name(), label, key.Default());
}

OptionRow FileOption(const SettingKey& key, const QString& label)
{
    return FileOption(key.Name(), label, key.Default());
}

OptionRow OptionRowOf(const SettingKey& key)
{
    const SettingRule& rule = key.rule;
    OptionRow row = CheckOption(key.Name(), Translated(key.option.label), key.Default());
    row.kind = KindOf(rule.type);
    row.section = key.Section();
    row.store = key.store;
    row.minimum = rule.minimum;
    row.maximum = rule.maximum;
    row.emptyAllowed = rule.emptyAllowed;
    if (rule.accepts)
        row.accepts = rule.accepts;
    row.acceptsHint = Filled(rule.acceptsHint, row);
    for (const SettingChoice& choice : rule.choices)
        row.choices.push_back({QString::fromUtf8(choice.value), Translated(choice.label)});
    row.tip = Filled(key.option.tip, row);
    row.placeholder = Filled(key.option.placeholder, row);
    return row;
}

const std::vector<OptionRow>& OptionRows()
{
    // Made once per language: the first row's label, as the translators installed now give it,
    // tells the languages apart. Rows once made stay (a reference handed out stays good), and
    // the history keeper reads options off the window's thread.
    static QMutex lock;
    static std::map<QString, std::vector<OptionRow>> rowsByLanguage;
    const auto first = std::find_if(std::begin(SettingKeys::All), std::end(SettingKeys::All),
                                    [](const SettingKey& key) { return key.InOptionsDialog(); });
    const QString language = first == std::end(SettingKeys::All) ? QString() : Translated(first->option.label);
    const QMutexLocker locked(&lock);
    auto found = rowsByLanguage.find(language);
    if (found == rowsByLanguage.end())
        found = rowsByLanguage.emplace(language, MakeRows()).first;
    return found->second;
}

const OptionRow* FindOptionRow(const QString& key)
{
    for (const OptionRow& row : OptionRows())
        if (row.key == key)
            return &row;
    return nullptr;
}

bool IsValidOptionValue(const OptionRow& row, const QString& text)
{
    switch (row.kind) {
    case OptionKind::Check:
        return FlagFromText(text).has_value();
    case OptionKind::Number:
        if (text.trimmed().isEmpty())
            return row.emptyAllowed;
        return ParseNumber(row, text).has_value();
    case OptionKind::Text:
        return !row.accepts || row.accepts(text);
    case OptionKind::File:
    case OptionKind::Folder:
        return true;
    case OptionKind::Choice:
        return std::any_of(row.choices.begin(), row.choices.end(),
                           [&](const OptionChoice& choice) { return choice.value == text; });
    }
    return false;
}

QString OptionValueHint(const OptionRow& row)
{
    switch (row.kind) {
    case OptionKind::Check:
        return QCoreApplication::translate("Options", "\"%1\" is on or off.").arg(row.label);
    case OptionKind::Number:
        return QCoreApplication::translate("Options", "\"%1\" takes a whole number from %2 to %3%4.")
            .arg(row.label)
            .arg(row.minimum)
            .arg(row.maximum)
            .arg(row.emptyAllowed ? QCoreApplication::translate("Options", ", or nothing (%1)").arg(row.placeholder)
                                  : QString());
    case OptionKind::Text:
        return row.acceptsHint;
    case OptionKind::Choice: {
        QStringList labels;
        for (const OptionChoice& choice : row.choices)
            labels << choice.label;
        return QCoreApplication::translate("Options", "\"%1\" is one of: %2.")
            .arg(row.label, labels.join(QStringLiteral(", ")));
    }
    case OptionKind::File:
    case OptionKind::Folder:
        break;
    }
    return QString();
}

namespace {
std::optional<int> NumberOf(const OptionRow& row)
{
    if (row.kind != OptionKind::Number)
        return std::nullopt;
    const QString text = OptionValue(row);
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return ParseNumber(row, text);
}
}  // namespace

QString OptionValue(const QString& key)
{
    const OptionRow* row = FindOptionRow(key);
    return row ? OptionValue(*row) : QString();
}

QString OptionValue(const OptionRow& row)
{
    const QString stored = StoredText(row);
    const QString value = IsValidOptionValue(row, stored) ? stored : row.defaultValue;
    if (row.kind == OptionKind::Check)
        return FlagFromText(value).value_or(false) ? QStringLiteral("1") : QStringLiteral("0");
    return value;
}

bool OptionIsOn(const QString& key)
{
    return OptionValue(key) == QLatin1String("1");
}

std::optional<int> OptionNumber(const QString& key)
{
    const OptionRow* row = FindOptionRow(key);
    return row ? NumberOf(*row) : std::nullopt;
}

QString OptionValue(const SettingKey& key)
{
    return OptionValue(key.Name());
}

bool OptionIsOn(const SettingKey& key)
{
    return OptionIsOn(key.Name());
}

std::optional<int> OptionNumber(const SettingKey& key)
{
    return OptionNumber(key.Name());
}

QString SettingValue(const SettingKey& key)
{
    return OptionValue(OptionRowOf(key));
}

bool SettingIsOn(const SettingKey& key)
{
    return key.rule.type == SettingType::Flag && SettingValue(key) == QLatin1String("1");
}

std::optional<int> SettingNumber(const SettingKey& key)
{
    return NumberOf(OptionRowOf(key));
}

void WriteOption(const QString& key, const QString& value)
{
    WriteSetting(ProductName(), QStringLiteral("Settings"), key, value);
}

void WriteOption(const OptionRow& row, const QString& value)
{
    if (row.store == SettingStore::Main)
        WriteSetting(ProductName(), row.section, row.key, value);
    else
        SaveUserSetting(ProductName(), row.section, row.key, value);
}
