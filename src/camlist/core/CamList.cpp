#include "CamList.h"

#include <QFile>
#include <filesystem>
#include <system_error>

#include "CamListText.h"
#include "Files.h"
#include "ProgramFolder.h"
#include "ReplaceFile.h"

namespace {
const QString kMarker = QStringLiteral("[name]");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

[[noreturn]] void fail(const QString& action, const QString& path, const QString& reason)
{
    throw CamListError(QStringLiteral("Could not %1 the cam list file \"%2\": %3").arg(action, path, reason));
}

QString shortWrite()
{
    return QStringLiteral("not all data could be written (is the disk full?)");
}

void ensureProgramFolder()
{
    const QString folder = ProgramFolder();
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdString()), error);
    if (error) {
        throw CamListError(QStringLiteral("Could not create the folder \"%1\" for the cam list file: %2")
                               .arg(folder, QString::fromStdString(error.message())));
    }
}

QByteArray readBytes()
{
    const QString path = CamListPath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("open"), path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(QStringLiteral("read"), path, file.errorString());
    return bytes;
}

QStringList readLines()
{
    return SplitCamListLines(DecodeCamListText(readBytes()));
}

// Listing takes any line holding the marker in any letter case, with every marker removed.
QStringList listedNames(const QStringList& lines)
{
    QStringList names;
    for (const QString& line : lines) {
        if (line.contains(kMarker, Qt::CaseInsensitive))
            names.append(QString(line).remove(kMarker, Qt::CaseInsensitive));
    }
    return names;
}

void createWhenMissing()
{
    const QString path = CamListPath();
    if (FileExists(path))
        return;
    ensureProgramFolder();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        fail(QStringLiteral("create"), path, file.errorString());
    if (file.write(kLineEnd) != kLineEnd.size() || !file.flush())
        fail(QStringLiteral("write"), path, file.errorString().isEmpty() ? shortWrite() : file.errorString());
}

// The entry whose name line is lines[index]: up to two following lines, taken until the file
// ends or a line holds the marker (that line is another cam's, as the listing shows it).
CamEntry entryAt(const QStringList& lines, qsizetype index, const QString& name)
{
    CamEntry entry{{name, QString(), QString()}, 1};
    for (int k = 1; k < 3 && index + k < lines.size(); ++k) {
        const QString& line = lines.at(index + k);
        if (line.contains(kMarker, Qt::CaseInsensitive))
            break;
        (k == 1 ? entry.record.url : entry.record.refresh) = line;
        entry.lineCount = k + 1;
    }
    return entry;
}

// The index of the first entry that is exactly the given one, or -1. A whole record is any
// three lines that equal its texts.
qsizetype findEntryLines(const QStringList& lines, const CamEntry& entry)
{
    const CamRecord& record = entry.record;
    const QString nameLine = kMarker + record.name;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i) != nameLine)
            continue;
        if (!entry.isWhole()
                ? entryAt(lines, i, record.name) == entry
                : i + 2 < lines.size() && lines.at(i + 1) == record.url && lines.at(i + 2) == record.refresh)
            return i;
    }
    return -1;
}

// Every line read, each followed by CR LF, then one more CR LF: the file after a removal. A
// whole record's three lines become two empty lines; each line of an entry cut short becomes
// an empty line.
QByteArray textWithoutEntry(const QStringList& lines, qsizetype index, int lineCount)
{
    QByteArray text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lineCount == 3 && i == index + 1)
            continue;
        if (i < index || i >= index + lineCount)
            text += lines.at(i).toUtf8();
        text += kLineEnd;
    }
    return text + kLineEnd;
}

void checkSingleLines(const CamRecord& record)
{
    for (const QString* text : {&record.name, &record.url, &record.refresh}) {
        if (text->contains(QLatin1Char('\r')) || text->contains(QLatin1Char('\n')))
            fail(QStringLiteral("write"), CamListPath(),
                 QStringLiteral("a cam's name, URL and refresh text must each be a single line"));
    }
}

QByteArray recordBytes(const CamRecord& record)
{
    return (kMarker + record.name).toUtf8() + kLineEnd + record.url.toUtf8() + kLineEnd + record.refresh.toUtf8() +
        kLineEnd + kLineEnd;
}

// Whether a line of the cam list is an address with a password in it: "user:password@" before
// the host, with or without a scheme in front.
bool holdsPassword(QByteArrayView line)
{
    const qsizetype scheme = line.indexOf("://");
    const QByteArrayView rest = scheme < 0 ? line : line.sliced(scheme + 3);
    const qsizetype slash = rest.indexOf('/');
    const QByteArrayView authority = slash < 0 ? rest : rest.first(slash);
    const qsizetype at = authority.lastIndexOf('@');
    return at > 0 && authority.first(at).contains(':');
}

// A cam list that holds a password is for its owner's eyes only; done before the password is
// written, so no other user can read it at any moment.
void keepToOwnerWhenPassword(const QString& path, const QByteArray& text)
{
    if (FileExists(path) && HoldsAddressPassword(text))
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// Written beside the file and renamed over it: a failed or interrupted rewrite leaves the
// old file exactly as it was, and at worst a temporary file that the next start removes.
// The new file keeps the old one's permissions.
void rewrite(const QByteArray& bytes)
{
    const QString path = CamListPath();
    keepToOwnerWhenPassword(path, bytes);
    const ReplaceFileResult replaced = ReplaceFileContents(path, bytes);
    if (!replaced.ok())
        fail(QStringLiteral("rewrite"), path, replaced.reason());
}
}  // namespace

bool HoldsAddressPassword(const QByteArray& text)
{
    for (const QByteArray& line : text.split('\n')) {
        if (holdsPassword(line))
            return true;
    }
    return false;
}

QString CamListPath()
{
    return ProgramPath(QStringLiteral("00camlist.txt"));
}

void LoadCamList(QStringList& entries)
{
    createWhenMissing();
    entries += listedNames(readLines());
}

void ReloadCamList(QStringList& entries)
{
    const QStringList names = listedNames(readLines());
    entries.clear();
    entries += names;
}

QList<CamRecord> ReadCamRecords(QStringList* notWhole)
{
    const QStringList lines = readLines();
    QList<CamRecord> records;
    QStringList seen;
    for (const QString& name : listedNames(lines)) {
        if (seen.contains(name))
            continue;
        seen << name;
        const qsizetype index = name.isEmpty() ? -1 : lines.indexOf(kMarker + name);
        const CamEntry entry = index < 0 ? CamEntry{{name, {}, {}}, 0} : entryAt(lines, index, name);
        if (entry.isWhole())
            records << entry.record;
        else if (notWhole)
            *notWhole << name;
    }
    return records;
}

std::optional<CamRecord> FindCamRecord(const QString& name)
{
    const std::optional<CamEntry> entry = FindCamEntry(name);
    if (!entry || !entry->isWhole())
        return std::nullopt;
    return entry->record;
}

std::optional<CamEntry> FindCamEntry(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    const QStringList lines = readLines();
    const qsizetype index = lines.indexOf(kMarker + name);
    if (index < 0)
        return std::nullopt;
    return entryAt(lines, index, name);
}

QString MissingLinesText(const CamEntry& entry)
{
    if (entry.lineCount == 1)
        return QStringLiteral("has no URL line and no refresh line");
    // A refresh line deleted by hand leaves the empty line that follows each record in its place.
    if (entry.lineCount == 2 || entry.record.refresh.isEmpty())
        return QStringLiteral("has no refresh line");
    return QString();
}

void AppendCamRecord(const QString& name, const QString& url, const QString& refresh)
{
    AppendCamRecords({{name, url, refresh}});
}

void AppendCamRecords(const QList<CamRecord>& records)
{
    if (records.isEmpty())
        return;
    QByteArray added;
    for (const CamRecord& record : records) {
        checkSingleLines(record);
        added += recordBytes(record);
    }
    ensureProgramFolder();
    const QString path = CamListPath();
    // A file from an older program in Windows-1252 is read as such only while it is not valid
    // UTF-8 as a whole: UTF-8 bytes appended to it would come back as two or three wrong
    // letters for each one outside ASCII, and the new cam could not be found by its name.
    // Such a file is rewritten in UTF-8 (as a removal would) with the record at its end.
    if (FileExists(path)) {
        const QByteArray old = readBytes();
        if (!IsUtf8CamListText(old)) {
            QByteArray bytes = DecodeCamListText(old).toUtf8();
            if (!bytes.isEmpty() && !bytes.endsWith('\r') && !bytes.endsWith('\n'))
                bytes += kLineEnd;
            rewrite(bytes + added);
            return;
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        fail(QStringLiteral("open"), path, file.errorString());
    const qint64 oldSize = file.size();
    QByteArray bytes = added;
    keepToOwnerWhenPassword(path, bytes);
    if (oldSize > 0) {
        // A last line without its line end (a file edited by hand) would otherwise run into
        // the new name line.
        if (!file.seek(oldSize - 1))
            fail(QStringLiteral("read"), path, file.errorString());
        const QByteArray last = file.read(1);
        if (last.size() != 1)
            fail(QStringLiteral("read"), path, file.errorString());
        if (last != "\r" && last != "\n")
            bytes.prepend(kLineEnd);
    }
    if (!file.seek(oldSize) || file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString().isEmpty() ? shortWrite() : file.errorString();
        // Take back partly written records so that the file stays as it was.
        file.resize(oldSize);
        fail(QStringLiteral("write"), path, reason);
    }
}

bool RemoveCamRecord(const CamRecord& record)
{
    return RemoveCamEntry({record, 3});
}

bool ReplaceCamRecord(const CamRecord& old, const CamRecord& edited)
{
    return ReplaceCamEntry({old, 3}, edited);
}

bool RemoveCamEntry(const CamEntry& entry)
{
    const QStringList lines = readLines();
    const qsizetype index = findEntryLines(lines, entry);
    if (index < 0)
        return false;
    rewrite(textWithoutEntry(lines, index, entry.lineCount));
    return true;
}

bool ReplaceCamEntry(const CamEntry& old, const CamRecord& edited)
{
    checkSingleLines(edited);
    const QStringList lines = readLines();
    const qsizetype index = findEntryLines(lines, old);
    if (index < 0) {
        AppendCamRecord(edited.name, edited.url, edited.refresh);
        return false;
    }
    // The edited record takes the place of the lines that were there and nothing else moves: the
    // cam keeps its place in the list, and stays the first record of its name that lookups find.
    QByteArray text;
    for (qsizetype i = 0; i < index; ++i)
        text += lines.at(i).toUtf8() + kLineEnd;
    text += recordBytes(edited);
    text.chop(kLineEnd.size());  // the record's own empty line, unless it ends the file
    for (qsizetype i = index + old.lineCount; i < lines.size(); ++i)
        text += lines.at(i).toUtf8() + kLineEnd;
    if (index + old.lineCount >= lines.size())
        text += kLineEnd;
    rewrite(text);
    return true;
}

bool MoveListedCam(qsizetype listIndex, const QString& listedName, CamListMove move)
{
    const QStringList lines = readLines();
    QList<qsizetype> nameLines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains(kMarker, Qt::CaseInsensitive))
            nameLines.append(i);
    }
    const qsizetype otherIndex = move == CamListMove::Up ? listIndex - 1 : listIndex + 1;
    if (listIndex < 0 || listIndex >= nameLines.size() || otherIndex < 0 || otherIndex >= nameLines.size())
        return false;
    if (listedNames({lines.at(nameLines.at(listIndex))}) != QStringList{listedName})
        return false;  // the file changed since the list was read: it is not the entry the user saw
    const qsizetype first = nameLines.at(qMin(listIndex, otherIndex));
    const qsizetype second = nameLines.at(qMax(listIndex, otherIndex));
    const qsizetype firstEnd = first + entryAt(lines, first, QString()).lineCount;
    const qsizetype secondEnd = second + entryAt(lines, second, QString()).lineCount;
    // The two entries trade places; the lines between and around them (the empty lines after
    // each record, what removals left) stay where they are.
    QStringList moved = lines.mid(0, first);
    moved += lines.mid(second, secondEnd - second);
    moved += lines.mid(firstEnd, second - firstEnd);
    moved += lines.mid(first, firstEnd - first);
    moved += lines.mid(secondEnd);
    QByteArray text;
    for (const QString& line : moved)
        text += line.toUtf8() + kLineEnd;
    rewrite(text);
    return true;
}
