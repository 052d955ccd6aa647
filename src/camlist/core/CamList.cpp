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

// The index of the first record whose three lines are exactly the given ones, or -1.
qsizetype findRecordLines(const QStringList& lines, const CamRecord& record)
{
    const QString nameLine = kMarker + record.name;
    for (qsizetype i = 0; i + 2 < lines.size(); ++i) {
        if (lines.at(i) == nameLine && lines.at(i + 1) == record.url && lines.at(i + 2) == record.refresh)
            return i;
    }
    return -1;
}

// Every line read, each followed by CR LF, the record's three lines turned into two empty
// lines, then one more CR LF: the file after a removal.
QByteArray textWithoutRecord(const QStringList& lines, qsizetype recordIndex)
{
    QByteArray text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == recordIndex + 1)
            continue;
        if (i != recordIndex && i != recordIndex + 2)
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

// Written beside the file and renamed over it: a failed or interrupted rewrite leaves the
// old file exactly as it was, and at worst a temporary file that the next start removes.
void rewrite(const QByteArray& bytes)
{
    const QString path = CamListPath();
    const ReplaceFileResult replaced = ReplaceFileContents(path, bytes);
    if (!replaced.ok())
        fail(QStringLiteral("rewrite"), path, replaced.reason());
}
}  // namespace

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

std::optional<CamRecord> FindCamRecord(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    const QStringList lines = readLines();
    const QString nameLine = kMarker + name;
    const qsizetype index = lines.indexOf(nameLine);
    // A name line without both following lines (cut off at the end) is no record.
    if (index < 0 || index + 2 >= lines.size())
        return std::nullopt;
    return CamRecord{name, lines.at(index + 1), lines.at(index + 2)};
}

void AppendCamRecord(const QString& name, const QString& url, const QString& refresh)
{
    const CamRecord record{name, url, refresh};
    checkSingleLines(record);
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
            rewrite(bytes + recordBytes(record));
            return;
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        fail(QStringLiteral("open"), path, file.errorString());
    const qint64 oldSize = file.size();
    QByteArray bytes = recordBytes(record);
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
        // Take back a partly written record so that the file stays as it was.
        file.resize(oldSize);
        fail(QStringLiteral("write"), path, reason);
    }
}

bool RemoveCamRecord(const CamRecord& record)
{
    const QStringList lines = readLines();
    const qsizetype index = findRecordLines(lines, record);
    if (index < 0)
        return false;
    rewrite(textWithoutRecord(lines, index));
    return true;
}

bool ReplaceCamRecord(const CamRecord& old, const CamRecord& edited)
{
    checkSingleLines(edited);
    const QStringList lines = readLines();
    const qsizetype index = findRecordLines(lines, old);
    if (index < 0) {
        AppendCamRecord(edited.name, edited.url, edited.refresh);
        return false;
    }
    rewrite(textWithoutRecord(lines, index) + recordBytes(edited));
    return true;
}
