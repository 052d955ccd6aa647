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

// Appends one entry per listed name, in file order; creates the 2-byte file when missing.
// (CamListBox.h fills the list box from these.)
void LoadCamList(QStringList& entries);
// Clears, then lists again; neither checks for nor creates the file.
void ReloadCamList(QStringList& entries);
// The first record whose name line is exactly "[name]" + name; nothing for an empty name,
// no such line, or a name line without both following lines.
std::optional<CamRecord> FindCamRecord(const QString& name);
// Writes "[name]" + name, url, refresh and one empty line, each ended by CR LF; a file whose
// last line has no line end gets one first. Throws CamListError, without writing, when a
// text holds a line break (it would split the record).
void AppendCamRecord(const QString& name, const QString& url, const QString& refresh);
// Replaces the record's three lines by two empty lines (atomic rewrite); false when the
// record's lines were not found, in which case the file is not touched.
bool RemoveCamRecord(const CamRecord& record);
// An edit in one atomic rewrite: the same bytes as RemoveCamRecord(old) followed by
// AppendCamRecord(edited), so a failure between the two can never lose the cam. When old's
// lines are not found, edited is only appended; the result says whether old was found.
bool ReplaceCamRecord(const CamRecord& old, const CamRecord& edited);
