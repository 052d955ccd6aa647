#pragma once
// The cam list file 00camlist.txt in the program folder: the only store of the user's cams.
// Every operation opens the file, does its work and closes it; nothing is cached. Every file
// failure throws CamListError; none is swallowed. Written as UTF-8 with CR LF line ends.
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

struct CamRecord {
    QString name;
    QString url;
    QString refresh;  // seconds, as typed
    bool operator==(const CamRecord&) const = default;
};

// A cam's entry as the file holds it, also when a hand edit cut it short: its URL or refresh
// line is missing when the file ends, or a line holding the marker comes, before it. A line
// holding the marker is listed as a cam of its own and is never read as another cam's text.
struct CamEntry {
    CamRecord record;   // a missing line's text is empty
    int lineCount = 3;  // 1: the name line alone; 2: no refresh line; 3: the whole record
    bool isWhole() const { return lineCount == 3; }
    bool operator==(const CamEntry&) const = default;
};

// A file failure (folder not creatable, file not openable, readable or writable); what()
// and message() name the file and the operating system's reason.
class CamListError : public std::runtime_error {
public:
    explicit CamListError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) { }
    const QString& message() const { return message_; }

private:
    QString message_;
};

QString CamListPath();  // program folder + "/00camlist.txt"
// Whether a line of the text is an address with "user:password@" in it (such a file is made
// readable by its owner only).
bool HoldsAddressPassword(const QByteArray& text);

// Appends one entry per listed name, in file order; creates the 2-byte file when missing.
// (CamListBox.h fills the list box from these.)
void LoadCamList(QStringList& entries);
// Clears, then lists again; neither checks for nor creates the file.
void ReloadCamList(QStringList& entries);
// The first record whose name line is exactly "[name]" + name; nothing for an empty name,
// no such line, or an entry cut short (see CamEntry).
std::optional<CamRecord> FindCamRecord(const QString& name);
// The entry of the first name line that is exactly "[name]" + name, whole or cut short;
// nothing for an empty name or no such line.
std::optional<CamEntry> FindCamEntry(const QString& name);
// What an entry lacks to be opened, for messages ("has no refresh line", also for an empty
// refresh line); empty when it has all three.
QString MissingLinesText(const CamEntry& entry);
// Writes "[name]" + name, url, refresh and one empty line, each ended by CR LF; a file whose
// last line has no line end gets one first. Throws CamListError, without writing, when a
// text holds a line break (it would split the record).
void AppendCamRecord(const QString& name, const QString& url, const QString& refresh);
// The same for several records in one write: the bytes of one append after another, and on a
// failure none of them is written.
void AppendCamRecords(const QList<CamRecord>& records);
// Every listed cam that a lookup finds whole, in list order, a name listed twice once (what
// Export writes). notWhole gets the listed names a lookup does not find whole.
QList<CamRecord> ReadCamRecords(QStringList* notWhole = nullptr);
// Replaces the record's three lines by two empty lines (atomic rewrite); false when the
// record's lines were not found, in which case the file is not touched.
bool RemoveCamRecord(const CamRecord& record);
// An edit in one atomic rewrite: the edited record's three lines where old's stood, every
// other line unchanged, so the cam keeps its place (a record that ended the file gets its empty
// line). When old's lines are not found, edited is only appended; the result says whether old
// was found.
bool ReplaceCamRecord(const CamRecord& old, const CamRecord& edited);
// The same for an entry FindCamEntry gave, so that one cut short can be mended (Edit) or
// deleted in the program. Removing one cut short turns each of its lines into an empty line;
// replacing it writes the edited record where its lines stood.
bool RemoveCamEntry(const CamEntry& entry);
bool ReplaceCamEntry(const CamEntry& old, const CamRecord& edited);

enum class CamListMove { Up, Down };
// Swaps the entry the listing shows at listIndex with the one above or below it: the two
// entries' lines (a name line and the up to two lines that belong to it, see CamEntry) trade
// places, and every other line stays where it was (atomic rewrite, each line ended by CR LF).
// False, with the file untouched, when the file no longer lists listedName at that place or
// there is no entry to trade with.
bool MoveListedCam(qsizetype listIndex, const QString& listedName, CamListMove move);
