#include "Options.h"

#include <algorithm>

#include "ProductInfo.h"
#include "Settings.h"
#include "TolvaneError.h"

namespace {
const QString kSection = QStringLiteral("Settings");

std::vector<OptionRow> MakeRows()
{
    std::vector<OptionRow> rows;

    // One row per choice, in the order the dialog shows them.
    rows.push_back(NumberOption(SettingKeys::staleMinutes,
                                QStringLiteral("Stale after (minutes without a new picture)"), 1, 7 * 24 * 60));
    rows.back().tip = QStringLiteral("A cam whose pictures keep coming, but none of them new, is marked stale after "
                                     "this many minutes, or after ten of its refresh intervals when that is longer. "
                                     "Cams that send no Last-Modified time are never stale.");

    // Saved pictures are deleted only when the user asks for it; empty keeps them for ever.
    rows.push_back(NumberOption(SettingKeys::keepDays, QStringLiteral("Keep saved pictures for N days"), 1, 36500));
    rows.back().emptyAllowed = true;
    rows.back().placeholder = QStringLiteral("forever");
    rows.back().tip = QStringLiteral("Pictures this program saved and indexed are deleted once they are older than "
                                     "this many days (checked at start and every hour). Empty keeps them for ever.");

    // Cams with a certificate from a private authority; always read, empty names none.
    rows.push_back(FileOption(SettingKeys::caFile, QStringLiteral("Trusted certificate authorities (PEM file)")));
    rows.back().placeholder = QStringLiteral("only the system's");
    rows.back().tip = QStringLiteral("https cams whose certificate comes from one of the authorities in this PEM file "
                                     "are trusted, as are those SSL_CERT_FILE and SSL_CERT_DIR name.");

    // Cams on slow links: off, the next start abandons a download still running, as it always did.
    rows.push_back(
        CheckOption(SettingKeys::finishSlowDownloads, QStringLiteral("Let a download that is still arriving finish")));
    rows.back().tip = QStringLiteral("When a cam's refresh interval ends while its picture is still arriving, the "
                                     "download goes on and the next one starts as soon as it ends. A download "
                                     "that brings no byte for 10 seconds is abandoned.");

    // The GMT clock's daytime server; empty asks the default one.
    rows.push_back(TextOption(SettingKeys::timeServer, QStringLiteral("Time server (daytime protocol)")));
    rows.back().placeholder = SettingKeys::timeServer.Default();
    rows.back().accepts = IsTimeServerText;
    rows.back().acceptsHint = QStringLiteral("\"%1\" takes a host name or address, optionally followed by "
                                             "\":port\" (1 to 65535), such as time.nist.gov or 192.0.2.1:13.")
                                  .arg(rows.back().label);
    rows.back().tip = QStringLiteral("The server the GMT clock asks for the time, with the daytime protocol (port 13 "
                                     "unless \"host:port\" names another). Empty asks %1.")
                          .arg(SettingKeys::timeServer.Default());

    // Both change what a cam is sent or what its answer does, so they are off unless chosen.
    rows.push_back(CheckOption(SettingKeys::followRedirects, QStringLiteral("Follow redirects")));
    rows.back().tip = QStringLiteral("A cam that answers with a redirect (301, 302, 303, 307, 308) is asked again at "
                                     "the new address, up to 5 times. http may lead to https, never https to http. "
                                     "Off: a redirect shows the not-found picture.");
    rows.push_back(CheckOption(SettingKeys::conditionalRequests, QStringLiteral("Ask whether the picture changed")));
    rows.back().tip = QStringLiteral("Each fetch sends the last picture's ETag and Last-Modified time; a cam that "
                                     "answers 304 (unchanged) sends no picture, and the one shown stays.");

    return rows;
}

// A host name (letters of any script, digits, "-", "_", ".") or an IPv4 address.
bool IsHostName(QStringView host)
{
    if (host.isEmpty() || host.startsWith(QLatin1Char('.')) || host.startsWith(QLatin1Char('-')))
        return false;
    return std::all_of(host.begin(), host.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.');
    });
}

bool IsIpv6Text(QStringView address)
{
    if (address.count(QLatin1Char(':')) < 2)
        return false;
    return std::all_of(address.begin(), address.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
            (c >= QLatin1Char('A') && c <= QLatin1Char('F')) || c == QLatin1Char(':') || c == QLatin1Char('.');
    });
}

bool IsPortText(QStringView text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok);
    return ok && port >= 1 && port <= 65535 &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

std::optional<int> ParseNumber(const OptionRow& row, const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < row.minimum || value > row.maximum)
        return std::nullopt;
    return value;
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

const std::vector<OptionRow>& OptionRows()
{
    static const std::vector<OptionRow> rows = MakeRows();
    return rows;
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
        return text == QLatin1String("0") || text == QLatin1String("1");
    case OptionKind::Number:
        if (text.trimmed().isEmpty())
            return row.emptyAllowed;
        return ParseNumber(row, text).has_value();
    case OptionKind::Text:
        return !row.accepts || row.accepts(text);
    case OptionKind::File:
        return true;
    }
    return false;
}

bool IsTimeServerText(const QString& text)
{
    const QString server = text.trimmed();
    if (server.isEmpty())
        return true;
    if (server.startsWith(QLatin1Char('['))) {
        const qsizetype close = server.indexOf(QLatin1Char(']'));
        if (close < 0 || !IsIpv6Text(QStringView(server).sliced(1, close - 1)))
            return false;
        const QStringView rest = QStringView(server).sliced(close + 1);
        return rest.isEmpty() || (rest.startsWith(QLatin1Char(':')) && IsPortText(rest.sliced(1)));
    }
    const qsizetype colons = server.count(QLatin1Char(':'));
    if (colons > 1)
        return IsIpv6Text(server);
    if (colons == 0)
        return IsHostName(server);
    const qsizetype colon = server.indexOf(QLatin1Char(':'));
    return IsHostName(QStringView(server).first(colon)) && IsPortText(QStringView(server).sliced(colon + 1));
}

QString OptionValueHint(const OptionRow& row)
{
    switch (row.kind) {
    case OptionKind::Check:
        return QStringLiteral("\"%1\" is on or off.").arg(row.label);
    case OptionKind::Number:
        return QStringLiteral("\"%1\" takes a whole number from %2 to %3%4.")
            .arg(row.label)
            .arg(row.minimum)
            .arg(row.maximum)
            .arg(row.emptyAllowed ? QStringLiteral(", or nothing (%1)").arg(row.placeholder) : QString());
    case OptionKind::Text:
        return row.acceptsHint;
    case OptionKind::File:
        break;
    }
    return QString();
}

QString OptionValue(const QString& key)
{
    const OptionRow* row = FindOptionRow(key);
    return row ? OptionValue(*row) : QString();
}

QString OptionValue(const OptionRow& row)
{
    QString stored;
    try {
        stored = ReadSetting(ProductName(), kSection, row.key, row.defaultValue);
    } catch (const TolvaneError&) {
        return row.defaultValue;
    }
    return IsValidOptionValue(row, stored) ? stored : row.defaultValue;
}

bool OptionIsOn(const QString& key)
{
    return OptionValue(key) == QLatin1String("1");
}

std::optional<int> OptionNumber(const QString& key)
{
    const OptionRow* row = FindOptionRow(key);
    if (!row || row->kind != OptionKind::Number)
        return std::nullopt;
    const QString text = OptionValue(key);
    if (text.trimmed().isEmpty())
        return std::nullopt;
    return ParseNumber(*row, text);
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

void WriteOption(const QString& key, const QString& value)
{
    WriteSetting(ProductName(), kSection, key, value);
}
