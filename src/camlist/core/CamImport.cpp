#include "CamImport.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>

#include "CamListText.h"
#include "Files.h"
#include "ReplaceFile.h"

namespace {
const QString kMarker = QStringLiteral("[name]");
const QString kDefaultRefresh = QStringLiteral("60");  // the Add dialog's

struct CsvRow {
    int line = 0;
    QStringList fields;
    QString text;
    QString problem;
    bool isBlank() const { return fields.size() == 1 && fields.constFirst().isEmpty() && problem.isEmpty(); }
};

// RFC 4180 rows. A field that begins with a quote runs to the quote that closes it (a doubled
// quote is one quote); its text is kept exactly, blanks and all. An unquoted field is trimmed,
// so "Harbour, http://…, 60" reads as a person means it. A row whose field holds a line break
// is read to its end all the same, so the rows after it are found where they are.
QList<CsvRow> ReadCsvRows(const QString& text)
{
    QList<CsvRow> rows;
    CsvRow row;
    row.line = 1;
    int line = 1;
    qsizetype rowStart = 0;
    QString field;
    bool inQuotes = false, wasQuoted = false;
    const auto endField = [&] {
        row.fields << (wasQuoted ? field : field.trimmed());
        field.clear();
        wasQuoted = false;
    };
    const auto endRow = [&](qsizetype end, qsizetype next) {
        endField();
        row.text = text.mid(rowStart, end - rowStart);
        rows << row;
        row = CsvRow{};
        row.line = line;
        rowStart = next;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool lineEnd = c == QLatin1Char('\r') || c == QLatin1Char('\n');
        const qsizetype breakEnd =
            c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n') ? i + 1 : i;
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                if (lineEnd) {
                    row.problem = QCoreApplication::translate("CamImport", "a field holds a line break");
                    ++line;
                    i = breakEnd;
                }
                field += c;
            }
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (lineEnd) {
            ++line;
            endRow(i, breakEnd + 1);
            i = breakEnd;
        } else if (c == QLatin1Char('"') && !wasQuoted && field.trimmed().isEmpty()) {
            inQuotes = wasQuoted = true;
            field.clear();
        } else if (wasQuoted) {
            if (!c.isSpace())
                row.problem = QCoreApplication::translate("CamImport", "text follows a quoted field");
        } else {
            field += c;
        }
    }
    if (inQuotes)
        row.problem = QCoreApplication::translate("CamImport", "a quote is never closed");
    if (!field.isEmpty() || wasQuoted || !row.fields.isEmpty())
        endRow(text.size(), text.size());
    return rows;
}

QString CsvField(const QString& text)
{
    static const QRegularExpression needsQuotes(QStringLiteral("[,\"\\r\\n]|^\\s|\\s$"));
    if (!needsQuotes.match(text).hasMatch())
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

bool IsRefreshText(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    return digits.match(text).hasMatch() && text.toLongLong() >= 1;
}

// The rules every imported row passes, CSV or not: a sound cam, not yet in the list nor
// earlier in the file.
class ImportChecks {
public:
    ImportChecks(const QStringList& listedNames, const QList<CamRecord>& existing) : taken_(listedNames)
    {
        for (const CamRecord& record : existing)
            listedAddress_.insert(record.url, record.name);
    }

    const QStringList& takenNames() const { return taken_; }

    // Why the record cannot be added; empty when it can, and it is then counted as added.
    QString take(const CamRecord& record, int line)
    {
        if (record.name.isEmpty())
            return QCoreApplication::translate("CamImport", "it has no name");
        if (record.name.contains(kMarker, Qt::CaseInsensitive))
            return QCoreApplication::translate("CamImport", "a name may not hold \"[name]\"");
        if (!IsCamAddress(record.url))
            return QCoreApplication::translate("CamImport", "\"%1\" is not a cam address (http, https, rtsp or rtsps)")
                .arg(record.url);
        if (!IsRefreshText(record.refresh))
            return QCoreApplication::translate("CamImport", "the refresh time \"%1\" is not a whole number of seconds")
                .arg(record.refresh);
        if (const auto earlier = nameLine_.constFind(record.name); earlier != nameLine_.cend())
            return QCoreApplication::translate("CamImport", "line %1 has the name \"%2\" already")
                .arg(*earlier)
                .arg(record.name);
        if (taken_.contains(record.name))
            return QCoreApplication::translate("CamImport", "a cam named \"%1\" is in the list already")
                .arg(record.name);
        if (const auto earlier = addressLine_.constFind(record.url); earlier != addressLine_.cend())
            return QCoreApplication::translate("CamImport", "line %1 has the address already").arg(*earlier);
        if (const auto listed = listedAddress_.constFind(record.url); listed != listedAddress_.cend())
            return QCoreApplication::translate("CamImport", "the cam \"%1\" in the list has this address").arg(*listed);
        taken_ << record.name;
        nameLine_.insert(record.name, line);
        addressLine_.insert(record.url, line);
        return {};
    }

private:
    QStringList taken_;
    QHash<QString, QString> listedAddress_;
    QHash<QString, int> nameLine_, addressLine_;
};

void PlanCsv(const QList<CsvRow>& rows, qsizetype header, ImportChecks& checks, ImportPlan& plan)
{
    QStringList columns;
    for (const QString& title : rows.at(header).fields)
        columns << title.trimmed().toLower();
    const qsizetype nameColumn = columns.indexOf(QStringLiteral("name"));
    qsizetype addressColumn = columns.indexOf(QStringLiteral("address"));
    if (addressColumn < 0)
        addressColumn = columns.indexOf(QStringLiteral("url"));
    const qsizetype refreshColumn = columns.indexOf(QStringLiteral("refresh"));
    for (qsizetype i = header + 1; i < rows.size(); ++i) {
        const CsvRow& row = rows.at(i);
        if (row.isBlank())
            continue;
        QString reason = row.problem;
        const qsizetype needed = qMax(nameColumn, addressColumn) + 1;
        if (reason.isEmpty() && row.fields.size() < needed)
            reason = QCoreApplication::translate("CamImport", "it has %1 of the %2 fields a cam needs")
                         .arg(row.fields.size())
                         .arg(needed);
        if (reason.isEmpty()) {
            const QString refresh = refreshColumn >= 0 ? row.fields.value(refreshColumn) : QString();
            const CamRecord record{row.fields.at(nameColumn), row.fields.at(addressColumn),
                                   refresh.isEmpty() ? kDefaultRefresh : refresh};
            reason = checks.take(record, row.line);
            if (reason.isEmpty()) {
                plan.toAdd << ImportRow{row.line, record};
                continue;
            }
        }
        plan.skipped << SkippedImportRow{row.line, row.text, reason};
    }
}

void PlanAddressList(const QStringList& lines, ImportChecks& checks, ImportPlan& plan)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString address = lines.at(i).trimmed();
        const int line = int(i) + 1;
        if (address.isEmpty() || address.startsWith(QLatin1Char('#')))
            continue;
        QString reason;
        if (!IsCamAddress(address)) {
            reason = QCoreApplication::translate("CamImport", "it is not a cam address (http, https, rtsp or rtsps)");
            if (address.contains(QLatin1Char(',')))
                reason += QCoreApplication::translate("CamImport",
                                                      "; a CSV file begins with the header row name,address,refresh");
        } else {
            const CamRecord record{ProposedCamName(address, checks.takenNames()), address, kDefaultRefresh};
            reason = checks.take(record, line);
            if (reason.isEmpty()) {
                plan.toAdd << ImportRow{line, record};
                continue;
            }
        }
        plan.skipped << SkippedImportRow{line, lines.at(i), reason};
    }
}
}  // namespace

bool IsCamAddress(const QString& text)
{
    static const QRegularExpression blankOrControl(QStringLiteral("[\\s\\x00-\\x1f\\x7f]"));
    if (text.isEmpty() || blankOrControl.match(text).hasMatch())
        return false;
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
        (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("rtsp") ||
         scheme == QLatin1String("rtsps"));
}

DroppedAddress ReadDroppedAddress(const QByteArray& uriList, const QString& plainText)
{
    static const QRegularExpression lineEnds(QStringLiteral("[\\r\\n]+"));
    QStringList candidates;
    // text/uri-list: one address a line, "#" lines are comments.
    for (const QString& line : QString::fromUtf8(uriList).split(lineEnds, Qt::SkipEmptyParts)) {
        if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#')))
            candidates << line.trimmed();
    }
    if (candidates.isEmpty()) {
        for (const QString& line : plainText.split(lineEnds, Qt::SkipEmptyParts)) {
            if (!line.trimmed().isEmpty())
                candidates << line.trimmed();
        }
    }
    for (const QString& candidate : candidates) {
        if (IsCamAddress(candidate))
            return {DroppedAddress::Kind::CamAddress, candidate};
    }
    for (const QString& candidate : candidates) {
        const QUrl url(candidate);
        if (url.isLocalFile())
            return {DroppedAddress::Kind::LocalFile, url.toLocalFile()};
        if (candidate.startsWith(QLatin1Char('/')))
            return {DroppedAddress::Kind::LocalFile, candidate};
    }
    return {DroppedAddress::Kind::Nothing, candidates.value(0)};
}

QString ProposedCamName(const QString& address, const QStringList& taken)
{
    static const QRegularExpression controls(QStringLiteral("[\\x00-\\x1f\\x7f]"));
    const QUrl url(address);
    QString host = url.host();
    if (host.startsWith(QLatin1String("www.")))
        host.remove(0, 4);
    const QStringList parts = url.path(QUrl::FullyDecoded).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString stem = parts.isEmpty() ? QString() : parts.constLast();
    if (const qsizetype dot = stem.lastIndexOf(QLatin1Char('.')); dot > 0)
        stem.truncate(dot);
    stem = stem.remove(kMarker, Qt::CaseInsensitive).remove(controls).trimmed();
    QString name = (host + QLatin1Char(' ') + stem).trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Cam");
    if (!taken.contains(name))
        return name;
    for (int n = 2;; ++n) {
        const QString numbered = name + QLatin1Char(' ') + QString::number(n);
        if (!taken.contains(numbered))
            return numbered;
    }
}

ImportPlan PlanCamImport(const QByteArray& fileBytes, const QStringList& listedNames, const QList<CamRecord>& existing)
{
    const QString text = DecodeCamListText(fileBytes);
    ImportChecks checks(listedNames, existing);
    ImportPlan plan;
    const QList<CsvRow> rows = ReadCsvRows(text);
    qsizetype header = 0;
    while (header < rows.size() && rows.at(header).isBlank())
        ++header;
    if (header < rows.size()) {
        const QStringList& titles = rows.at(header).fields;
        const auto hasColumn = [&titles](const char* title) {
            return titles.contains(QLatin1String(title), Qt::CaseInsensitive);
        };
        plan.csv = hasColumn("name") && (hasColumn("address") || hasColumn("url"));
    }
    if (plan.csv)
        PlanCsv(rows, header, checks, plan);
    else
        PlanAddressList(SplitCamListLines(text), checks, plan);
    return plan;
}

QByteArray CamListCsv(const QList<CamRecord>& records)
{
    QString text = QStringLiteral("name,address,refresh\r\n");
    for (const CamRecord& record : records)
        text += CsvField(record.name) + QLatin1Char(',') + CsvField(record.url) + QLatin1Char(',') +
            CsvField(record.refresh) + QStringLiteral("\r\n");
    return text.toUtf8();
}

void WriteCamListCsv(const QString& path, const QList<CamRecord>& records)
{
    const QByteArray bytes = CamListCsv(records);
    const bool ownerOnly = HoldsAddressPassword(bytes);
    const auto keepToOwner = [&path] { QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner); };
    if (ownerOnly && FileExists(path))
        keepToOwner();  // before the passwords are in it
    const ReplaceFileResult written = ReplaceFileContents(path, bytes);
    if (!written.ok())
        throw CamListError(
            QCoreApplication::translate("CamImport", "Could not write \"%1\": %2").arg(path, written.reason()));
    if (ownerOnly)
        keepToOwner();
}
