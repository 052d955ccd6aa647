#include <gtest/gtest.h>

#include "CamList.h"
#include "CamListTestSupport.h"
#include "CamListText.h"

namespace {
QStringList Listed()
{
    QStringList entries;
    LoadCamList(entries);
    return entries;
}

class CamListFile : public ProgramFolderTest {
protected:
    QByteArray bytes() const { return FileBytes(CamListPath()); }
    void setBytes(const QByteArray& content) { WriteBytes(CamListPath(), content); }
};
}  // namespace

TEST_F(CamListFile, StartingWithoutTheFileCreatesTheTwoByteFileAndListsNothing)
{
    EXPECT_EQ(CamListPath(), path("00camlist.txt"));
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_EQ(bytes(), QByteArray("\r\n"));
    // An existing file is left as it is.
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_EQ(bytes(), QByteArray("\r\n"));
}

TEST_F(CamListFile, AppendRemoveAndEditWriteTheDocumentedBytes)
{
    Listed();
    AppendCamRecord("A", "u", "60");
    EXPECT_EQ(bytes(), QByteArray("\r\n[name]A\r\nu\r\n60\r\n\r\n"));
    AppendCamRecord("B", "http://b/x.jpg", "5");
    const QByteArray twoCams = "\r\n[name]A\r\nu\r\n60\r\n\r\n[name]B\r\nhttp://b/x.jpg\r\n5\r\n\r\n";
    EXPECT_EQ(bytes(), twoCams);

    EXPECT_TRUE(RemoveCamRecord({"A", "u", "60"}));
    EXPECT_EQ(bytes(), QByteArray("\r\n\r\n\r\n\r\n[name]B\r\nhttp://b/x.jpg\r\n5\r\n\r\n\r\n"));

    // An edit writes the edited record where the old one stood: the cam keeps its place.
    setBytes(twoCams);
    EXPECT_TRUE(ReplaceCamRecord({"A", "u", "60"}, {"A2", "v", "7"}));
    EXPECT_EQ(bytes(), QByteArray("\r\n[name]A2\r\nv\r\n7\r\n\r\n[name]B\r\nhttp://b/x.jpg\r\n5\r\n\r\n"));
    EXPECT_EQ(Listed(), QStringList({"A2", "B"}));
    // The last record of a hand-made file without its empty line gets it, as an append writes it.
    setBytes("[name]A\r\nu\r\n60");
    EXPECT_TRUE(ReplaceCamRecord({"A", "u", "60"}, {"A", "u", "61"}));
    EXPECT_EQ(bytes(), QByteArray("[name]A\r\nu\r\n61\r\n\r\n"));
}

TEST_F(CamListFile, AnEditOfTheFirstOfTwoCamsOfANameKeepsItTheOneLookupsFind)
{
    // A hand-made list with a name twice: moving the edited one to the end would hand its
    // name to the other record.
    setBytes("[name]Cam\r\nhttp://first/\r\n10\r\n\r\n[name]Cam\r\nhttp://second/\r\n20\r\n\r\n");
    EXPECT_TRUE(ReplaceCamRecord({"Cam", "http://first/", "10"}, {"Cam", "http://first/", "15"}));
    EXPECT_EQ(FindCamRecord("Cam"), (CamRecord{"Cam", "http://first/", "15"}));
}

TEST_F(CamListFile, MovingAnEntryTradesItsLinesWithItsNeighboursAndNothingElse)
{
    // What removals left (empty lines), text outside records and a capitalised marker stay put.
    const QByteArray content =
        "\r\n[name]A\r\nhttp://a/\r\n10\r\n\r\n\r\n\r\nnote\r\n[NAME]B\r\nhttp://b/\r\n20\r\n\r\n"
        "[name]C\r\nhttp://c/\r\n30\r\n\r\n";
    setBytes(content);
    ASSERT_TRUE(MoveListedCam(2, "C", CamListMove::Up));
    const QByteArray cUp = "\r\n[name]A\r\nhttp://a/\r\n10\r\n\r\n\r\n\r\nnote\r\n[name]C\r\nhttp://c/\r\n30\r\n\r\n"
                           "[NAME]B\r\nhttp://b/\r\n20\r\n\r\n";
    EXPECT_EQ(bytes(), cUp);
    EXPECT_EQ(Listed(), QStringList({"A", "C", "B"}));
    ASSERT_TRUE(MoveListedCam(0, "A", CamListMove::Down));
    EXPECT_EQ(bytes(),
              QByteArray("\r\n[name]C\r\nhttp://c/\r\n30\r\n\r\n\r\n\r\nnote\r\n[name]A\r\nhttp://a/\r\n10\r\n\r\n"
                         "[NAME]B\r\nhttp://b/\r\n20\r\n\r\n"));
    // And back: the very bytes of the start, none added.
    ASSERT_TRUE(MoveListedCam(1, "A", CamListMove::Up));
    ASSERT_TRUE(MoveListedCam(2, "B", CamListMove::Up));
    EXPECT_EQ(bytes(), content);

    // No neighbour, or a file that no longer lists the name there: the file is not touched.
    EXPECT_FALSE(MoveListedCam(0, "A", CamListMove::Up));
    EXPECT_FALSE(MoveListedCam(2, "C", CamListMove::Down));
    EXPECT_FALSE(MoveListedCam(1, "C", CamListMove::Up));
    EXPECT_FALSE(MoveListedCam(7, "A", CamListMove::Up));
    EXPECT_EQ(bytes(), content);

    // An entry cut short moves with the lines it has; the other entry's lines are never its.
    setBytes("[name]A\r\n[name]B\r\nhttp://b/\r\n20\r\n");
    ASSERT_TRUE(MoveListedCam(1, "B", CamListMove::Up));
    EXPECT_EQ(bytes(), QByteArray("[name]B\r\nhttp://b/\r\n20\r\n[name]A\r\n"));
    EXPECT_EQ(FindCamRecord("B"), (CamRecord{"B", "http://b/", "20"}));
}

TEST_F(CamListFile, RemovingAnAbsentRecordLeavesTheFileUntouched)
{
    const QByteArray content = "[name]A\r\nu\r\n60\r\n";
    setBytes(content);
    EXPECT_FALSE(RemoveCamRecord({"A", "u", "61"}));
    EXPECT_FALSE(RemoveCamRecord({"a", "u", "60"}));
    EXPECT_EQ(bytes(), content);
    // Replacing an absent record only appends the edited one.
    EXPECT_FALSE(ReplaceCamRecord({"Z", "u", "60"}, {"N", "n", "1"}));
    EXPECT_EQ(bytes(), content + "[name]N\r\nn\r\n1\r\n\r\n");
}

struct MarkerCase {
    const char* line;
    QStringList listed;
    const char* lookup;
    bool found;
};

class MarkerRules : public CamListFile, public testing::WithParamInterface<MarkerCase> { };

TEST_P(MarkerRules, ListingIgnoresCaseAndPositionWhileLookupWantsTheExactLine)
{
    const MarkerCase& c = GetParam();
    setBytes(QByteArray(c.line) + "\r\nhttp://h/p.jpg\r\n30\r\n");
    EXPECT_EQ(Listed(), c.listed);
    const std::optional<CamRecord> record = FindCamRecord(QString::fromUtf8(c.lookup));
    ASSERT_EQ(record.has_value(), c.found);
    if (c.found) {
        EXPECT_EQ(*record, (CamRecord{QString::fromUtf8(c.lookup), "http://h/p.jpg", "30"}));
    }
}

INSTANTIATE_TEST_SUITE_P(CamListFile, MarkerRules,
                         testing::Values(MarkerCase{"[name]Harbour", {"Harbour"}, "Harbour", true},
                                         MarkerCase{"[NAME]Harbour", {"Harbour"}, "Harbour", false},
                                         MarkerCase{"[NaMe]Harbour", {"Harbour"}, "Harbour", false},
                                         MarkerCase{"xx[name]yy[NAME]zz", {"xxyyzz"}, "xxyyzz", false},
                                         MarkerCase{" [name]Harbour", {" Harbour"}, "Harbour", false},
                                         MarkerCase{"[name]Cam ", {"Cam "}, "Cam ", true},
                                         MarkerCase{"[name]Cam ", {"Cam "}, "Cam", false},
                                         MarkerCase{"[name]harbour", {"harbour"}, "Harbour", false},
                                         MarkerCase{"[name][name]X", {"X"}, "[name]X", true},
                                         MarkerCase{"[name]", {""}, "", false},
                                         MarkerCase{"name]Harbour", {}, "Harbour", false}));

TEST_F(CamListFile, DuplicateNamesAreBothListedAndTheFirstIsFoundAndRemoved)
{
    setBytes("\r\n");
    AppendCamRecord("Cam", "http://one/", "10");
    AppendCamRecord("Cam 2", "http://one/", "10");
    AppendCamRecord("cam", "http://one/", "10");
    AppendCamRecord("Cam", "http://two/", "20");
    AppendCamRecord("Other", "http://one/", "10");
    EXPECT_EQ(Listed(), QStringList({"Cam", "Cam 2", "cam", "Cam", "Other"}));

    const std::optional<CamRecord> first = FindCamRecord("Cam");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->url, "http://one/");
    ASSERT_TRUE(RemoveCamRecord(*first));

    QStringList reloaded = {"stale"};
    ReloadCamList(reloaded);
    EXPECT_EQ(reloaded, QStringList({"Cam 2", "cam", "Cam", "Other"}));
    EXPECT_EQ(FindCamRecord("Cam")->url, "http://two/");
    // Records sharing the URL and refresh, or a similar name, keep their lines.
    EXPECT_EQ(FindCamRecord("Cam 2"), (CamRecord{"Cam 2", "http://one/", "10"}));
    EXPECT_EQ(FindCamRecord("cam"), (CamRecord{"cam", "http://one/", "10"}));
    EXPECT_EQ(FindCamRecord("Other"), (CamRecord{"Other", "http://one/", "10"}));
}

TEST_F(CamListFile, NamesWithBlanksAndEmptyNamesAreKeptAsTyped)
{
    setBytes("\r\n");
    AppendCamRecord("  ", "u", "1");
    AppendCamRecord(" Harbour view ", "u", "2");
    EXPECT_EQ(Listed(), QStringList({"  ", " Harbour view "}));
    EXPECT_EQ(FindCamRecord("  ")->refresh, "1");
    EXPECT_EQ(FindCamRecord(" Harbour view ")->refresh, "2");
    EXPECT_FALSE(FindCamRecord("Harbour view"));
    EXPECT_FALSE(FindCamRecord(""));
}

struct LineEndCase {
    const char* label;
    QByteArray content;
};

class LineEnds : public CamListFile, public testing::WithParamInterface<LineEndCase> { };

TEST_P(LineEnds, EveryLineEndAndAMissingLastOneReadTheSameRecords)
{
    setBytes(GetParam().content);
    EXPECT_EQ(Listed(), QStringList({"A", "B"}));
    EXPECT_EQ(FindCamRecord("A"), (CamRecord{"A", "http://a/", "10"}));
    EXPECT_EQ(FindCamRecord("B"), (CamRecord{"B", "http://b/", "20"}));
}

INSTANTIATE_TEST_SUITE_P(
    CamListFile, LineEnds,
    testing::Values(LineEndCase{"CrLf", "\r\n[name]A\r\nhttp://a/\r\n10\r\n\r\n[name]B\r\nhttp://b/\r\n20\r\n\r\n"},
                    LineEndCase{"LfOnly", "\n[name]A\nhttp://a/\n10\n\n[name]B\nhttp://b/\n20\n\n"},
                    LineEndCase{"CrOnly", "\r[name]A\rhttp://a/\r10\r\r[name]B\rhttp://b/\r20\r\r"},
                    LineEndCase{"Mixed", "[name]A\nhttp://a/\r\n10\r[name]B\r\nhttp://b/\n20"},
                    LineEndCase{"Unterminated", "\r\n[name]A\r\nhttp://a/\r\n10\r\n[name]B\r\nhttp://b/\r\n20"}),
    [](const testing::TestParamInfo<LineEndCase>& info) { return std::string(info.param.label); });

TEST_F(CamListFile, AnAppendAfterAnUnterminatedLastLineStartsOnANewLine)
{
    setBytes("[name]A\r\nu\r\n10");
    AppendCamRecord("B", "v", "20");
    EXPECT_EQ(bytes(), QByteArray("[name]A\r\nu\r\n10\r\n[name]B\r\nv\r\n20\r\n\r\n"));
    setBytes("[name]A\nu\n10\n");
    AppendCamRecord("B", "v", "20");
    EXPECT_EQ(bytes(), QByteArray("[name]A\nu\n10\n[name]B\r\nv\r\n20\r\n\r\n"));
}

TEST_F(CamListFile, ANameLineCutOffAtTheEndIsNoRecord)
{
    setBytes("[name]A\r\nhttp://a/");
    EXPECT_FALSE(FindCamRecord("A"));
    setBytes("\r\n[name]A");
    EXPECT_FALSE(FindCamRecord("A"));
    EXPECT_EQ(Listed(), QStringList({"A"}));
    setBytes("[name]A\r\nhttp://a/\r\n");
    EXPECT_FALSE(FindCamRecord("A"));
    EXPECT_FALSE(RemoveCamRecord({"A", "http://a/", ""}));
}

TEST_F(CamListFile, AnEntryCutShortIsFoundForMendingAndNeverTakesAnotherCamsLines)
{
    const QByteArray content = "[name]A\r\n[name]B\r\nhttp://b/\r\n[NAME]C\r\nhttp://c/\r\n30\r\n";
    setBytes(content);
    EXPECT_EQ(FindCamEntry("A"), (CamEntry{{"A", "", ""}, 1}));
    EXPECT_EQ(FindCamEntry("B"), (CamEntry{{"B", "http://b/", ""}, 2}));
    EXPECT_FALSE(FindCamRecord("B"));  // its refresh line is not C's name line
    EXPECT_EQ(MissingLinesText(*FindCamEntry("A")), "has no URL line and no refresh line");
    EXPECT_EQ(MissingLinesText(*FindCamEntry("B")), "has no refresh line");
    EXPECT_FALSE(RemoveCamEntry({{"B", "http://x/", ""}, 2}));
    EXPECT_EQ(bytes(), content);

    ASSERT_TRUE(RemoveCamEntry(*FindCamEntry("A")));
    EXPECT_EQ(bytes(), QByteArray("\r\n[name]B\r\nhttp://b/\r\n[NAME]C\r\nhttp://c/\r\n30\r\n\r\n"));
    ASSERT_TRUE(ReplaceCamEntry(*FindCamEntry("B"), {"B", "http://b/", "20"}));
    EXPECT_EQ(bytes(), QByteArray("\r\n[name]B\r\nhttp://b/\r\n20\r\n[NAME]C\r\nhttp://c/\r\n30\r\n\r\n"));
    EXPECT_EQ(Listed(), QStringList({"B", "C"}));
}

TEST_F(CamListFile, Windows1252AndUtf8FilesReadTheSameAndRewritesAreUtf8)
{
    setBytes("[name]Caf\xE9 \x80 \x93Hafen\x94\r\nhttp://x/\r\n5\r\n\r\n[name]B\r\nu\r\n1\r\n");
    const QString name = QString::fromUtf8("Café € “Hafen”");
    EXPECT_EQ(Listed(), QStringList({name, "B"}));
    EXPECT_EQ(FindCamRecord(name)->url, "http://x/");
    ASSERT_TRUE(RemoveCamRecord({"B", "u", "1"}));
    EXPECT_EQ(bytes(), "[name]" + name.toUtf8() + "\r\nhttp://x/\r\n5\r\n\r\n\r\n\r\n\r\n");
    EXPECT_EQ(Listed(), QStringList({name}));

    // A byte-order mark from an editor does not hide the first name line.
    setBytes("\xEF\xBB\xBF[name]" + name.toUtf8() + "\r\nhttp://x/\r\n5\r\n");
    EXPECT_EQ(Listed(), QStringList({name}));
    EXPECT_TRUE(FindCamRecord(name));
    AppendCamRecord(QString::fromUtf8("Zürich"), "u", "9");
    EXPECT_TRUE(bytes().endsWith("[name]Z\xC3\xBCrich\r\nu\r\n9\r\n\r\n"));

    // Notepad's "Unicode" (UTF-16 with its mark, either byte order) reads the same; the first
    // change writes the whole list as UTF-8.
    const QString text = "[name]" + name + "\r\nhttp://x/\r\n5\r\n";
    QByteArray littleEndian("\xFF\xFE");
    QByteArray bigEndian("\xFE\xFF");
    for (const QChar c : text) {
        littleEndian += char(c.unicode() & 0xFF);
        littleEndian += char(c.unicode() >> 8);
        bigEndian += char(c.unicode() >> 8);
        bigEndian += char(c.unicode() & 0xFF);
    }
    for (const QByteArray& utf16 : {littleEndian, bigEndian}) {
        setBytes(utf16);
        EXPECT_EQ(Listed(), QStringList({name}));
        EXPECT_EQ(FindCamRecord(name)->refresh, "5");
        AppendCamRecord("B", "u", "1");
        EXPECT_EQ(bytes(), text.toUtf8() + "[name]B\r\nu\r\n1\r\n\r\n");
    }
    // Half a surrogate pair reads as what the rewrite keeps, so the name stays the same.
    setBytes(QByteArray("\xFF\xFE[\0n\0a\0m\0e\0]\0\x3D\xD8x\0\r\0\n\0", 20));
    const QStringList cut = Listed();
    ASSERT_EQ(cut.size(), 1);
    AppendCamRecord("B", "u", "1");
    EXPECT_EQ(Listed(), QStringList({cut.first(), "B"}));
}

TEST(CamListText, Windows1252HighHalfFollowsTheWindowsTable)
{
    EXPECT_EQ(DecodeWindows1252("\x80\x81\x8A\x9F\xA0\xFF"),
              QString::fromUtf16(u"\u20AC\u0081\u0160\u0178\u00A0\u00FF"));
    // Valid UTF-8 wins; a single stray byte turns the whole text to Windows-1252.
    EXPECT_EQ(DecodeCamListText("Gr\xC3\xBC\xC3\x9F"), QString::fromUtf8("Grüß"));
    EXPECT_EQ(DecodeCamListText("Gr\xC3\xBC\xDF"), QString::fromUtf16(u"Gr\u00C3\u00BC\u00DF"));
}

TEST_F(CamListFile, FileFailuresThrowWithTheFileAndTheReasonAndChangeNothing)
{
    // The program folder's path is taken by a file: nothing can be created below it. (The list
    // box's side of this: CamListBoxTest.)
    WriteBytes(path("blocker"), "x");
    SetProgramFolder(path("blocker"));
    QStringList listed{"kept"};
    try {
        LoadCamList(listed);
        FAIL() << "no error";
    } catch (const CamListError& error) {
        EXPECT_TRUE(error.message().contains(path("blocker"))) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains("Not a directory")) << error.message().toStdString();
    }
    EXPECT_EQ(listed, QStringList{"kept"});
    EXPECT_THROW(AppendCamRecord("A", "u", "1"), CamListError);
    EXPECT_THROW(FindCamRecord("A"), CamListError);

    // A missing file is an error for every operation but the first listing.
    SetProgramFolder(folder());
    QStringList entries;
    try {
        ReloadCamList(entries);
        FAIL() << "no error";
    } catch (const CamListError& error) {
        EXPECT_TRUE(error.message().contains(CamListPath())) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains("No such file")) << error.message().toStdString();
    }
    EXPECT_THROW(RemoveCamRecord({"A", "u", "1"}), CamListError);

    // The file's path is taken by a folder.
    ASSERT_TRUE(QDir(folder()).mkdir("00camlist.txt"));
    EXPECT_THROW(LoadCamList(entries), CamListError);
    EXPECT_THROW(AppendCamRecord("A", "u", "1"), CamListError);
    EXPECT_TRUE(entries.isEmpty());
}

TEST_F(CamListFile, AFailedRewriteOrAppendLeavesTheFileExactlyAsItWas)
{
    const QByteArray content = "\r\n[name]A\r\nhttp://a/\r\n10\r\n\r\n[name]B\r\nhttp://b/\r\n20\r\n\r\n";
    setBytes(content);
    {
        // Room for less than the rewritten file: its write fails half way.
        const FileSizeLimit limit(static_cast<rlim_t>(content.size() / 2));
        EXPECT_THROW(RemoveCamRecord({"A", "http://a/", "10"}), CamListError);
        EXPECT_THROW(ReplaceCamRecord({"A", "http://a/", "10"}, {"C", "c", "3"}), CamListError);
    }
    EXPECT_EQ(bytes(), content);
    {
        const FileSizeLimit limit(static_cast<rlim_t>(content.size() + 10));
        EXPECT_THROW(AppendCamRecord("A much longer name", "http://long/address.jpg", "999"), CamListError);
    }
    EXPECT_EQ(bytes(), content);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList({"00camlist.txt"}));
}

TEST_F(CamListFile, AReadOnlyFolderRefusesChangesWithThePermissionReason)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "root writes into read-only folders; the size-limit test covers failing writes";
    const QByteArray content = "[name]A\r\nu\r\n1\r\n";
    setBytes(content);
    QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner);
    try {
        RemoveCamRecord({"A", "u", "1"});
        ADD_FAILURE() << "no error";
    } catch (const CamListError& error) {
        EXPECT_TRUE(error.message().contains("ermission")) << error.message().toStdString();
    }
    QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(bytes(), content);
}

TEST_F(CamListFile, TextsWithLineBreaksAreRefusedBeforeAnythingIsWritten)
{
    setBytes("[name]A\r\nu\r\n1\r\n");
    EXPECT_THROW(AppendCamRecord("Two\nLines", "u", "1"), CamListError);
    EXPECT_THROW(AppendCamRecord("A", "u\r", "1"), CamListError);
    EXPECT_THROW(ReplaceCamRecord({"A", "u", "1"}, {"A", "u", "1\r\n"}), CamListError);
    EXPECT_EQ(bytes(), QByteArray("[name]A\r\nu\r\n1\r\n"));
}
