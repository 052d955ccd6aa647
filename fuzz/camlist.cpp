// The cam list file as anything may have left it: listing, lookup, removal and appending must
// never crash, and they must agree with one another and with the file's lines.
#include <QStringList>

#include "CamList.h"
#include "CamListText.h"
#include "FuzzSupport.h"
#include "ProgramFolder.h"

namespace {
const QString kMarker = QStringLiteral("[name]");
// Each lookup reads the file again; a few are enough to reach every kind of record.
constexpr qsizetype kMaxLookups = 16;

QStringList FileLines()
{
    return SplitCamListLines(DecodeCamListText(FuzzReadFile(CamListPath())));
}

QString Listed(const QString& line)
{
    return QString(line).remove(kMarker, Qt::CaseInsensitive);
}

// The entries that lines give, by the listing's rule.
QStringList ListedNames(const QStringList& lines)
{
    QStringList names;
    for (const QString& line : lines)
        if (line.contains(kMarker, Qt::CaseInsensitive))
            names.append(Listed(line));
    return names;
}

void CheckRemoval(const QStringList& lines, const CamRecord& record)
{
    const qsizetype at = lines.indexOf(kMarker + record.name);
    FUZZ_CHECK(RemoveCamRecord(record), QStringLiteral("a record just found was not removed: ") + record.name);
    // Its three lines become two empty ones, and one empty line is added at the end.
    QStringList expected = lines.mid(0, at);
    expected << QString() << QString();
    expected += lines.mid(at + 3);
    expected << QString();
    // A second byte-order mark at the start is the first one of the rewritten UTF-8 file.
    if (expected.first().startsWith(QChar::ByteOrderMark))
        expected.first().remove(0, 1);
    const QStringList after = FileLines();
    FUZZ_CHECK(after == expected,
               QStringLiteral("lines after removal: %1, expected %2").arg(after.size()).arg(expected.size()));

    QStringList reloaded;
    ReloadCamList(reloaded);
    // The record's URL and refresh lines are whatever followed its name line, markers included.
    const QStringList expectedEntries = ListedNames(expected);
    FUZZ_CHECK(reloaded == expectedEntries,
               QStringLiteral("listing after removal of %1: [%2], expected [%3]")
                   .arg(record.name, reloaded.join(QLatin1Char('|')), expectedEntries.join(QLatin1Char('|'))));
}

void CheckAppend(const QStringList& entries)
{
    // A name with a letter outside ASCII, as users in most countries type them.
    const QString name = QStringLiteral("Zürich ") + (entries.isEmpty() ? QString() : entries.first());
    AppendCamRecord(name, QStringLiteral("http://cam.example/bild-ä.jpg"), QStringLiteral("60"));
    QStringList reloaded;
    ReloadCamList(reloaded);
    FUZZ_CHECK(reloaded.size() == entries.size() + 1,
               QStringLiteral("entries: %1 before, %2 after").arg(entries.size()).arg(reloaded.size()));
    FUZZ_CHECK(reloaded.mid(0, entries.size()) == entries, QStringLiteral("appending changed the earlier entries"));
    FUZZ_CHECK(reloaded.last() == Listed(kMarker + name),
               QStringLiteral("appended ") + name + QStringLiteral(", listed ") + reloaded.last());
    FUZZ_CHECK(FindCamRecord(name).has_value(), QStringLiteral("the appended cam cannot be found: ") + name);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzApplication(FuzzApp::Core);
    SetProgramFolder(FuzzScratchFolder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const QStringList lines = SplitCamListLines(DecodeCamListText(bytes));
    for (const QString& line : lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')), line);

    FuzzWriteFile(CamListPath(), bytes);
    QStringList entries;
    LoadCamList(entries);
    FUZZ_CHECK(entries == ListedNames(lines), QStringLiteral("listing"));
    FUZZ_CHECK(FuzzReadFile(CamListPath()) == bytes, QStringLiteral("listing changed the file"));

    std::optional<CamRecord> first;
    for (qsizetype i = 0; i < entries.size() && i < kMaxLookups; ++i) {
        const auto record = FindCamRecord(entries[i]);
        if (!record)
            continue;
        // The lookup takes the first exact name line and the two lines after it.
        const qsizetype at = lines.indexOf(kMarker + entries[i]);
        FUZZ_CHECK(record->name == entries[i] && at >= 0 && at + 2 < lines.size(), entries[i]);
        FUZZ_CHECK(lines[at + 1] == record->url && lines[at + 2] == record->refresh, entries[i]);
        if (!first)
            first = record;
    }
    if (first) {
        CheckRemoval(lines, *first);
        FuzzWriteFile(CamListPath(), bytes);
    }
    CheckAppend(entries);
    return 0;
}
