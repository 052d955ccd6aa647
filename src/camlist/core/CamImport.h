#pragma once
// Cams from outside the program: an address dropped on the window, and lists of cams read
// (Import) or written (Export) as CSV. Only texts here; the file goes through CamList.h.
//
// The CSV file: UTF-8, a header row "name,address,refresh", then one cam a row. A field that
// holds a comma, a quote, a line break or blanks at its ends is written in double quotes, a
// quote in it doubled (RFC 4180). Import also takes "url" for "address", the columns in any
// order, no refresh column (60 seconds), and, instead of a CSV file, a plain list of
// addresses, one a line (names proposed from the addresses; "#" starts a comment line).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "CamList.h"

// Whether the text is an address a cam can have: http, https, rtsp or rtsps, a host, and no
// blank or control character.
bool IsCamAddress(const QString& text);

// What a drop on the window brings: the first cam address of its text/uri-list (or of its
// plain text), a file on this computer, or nothing a cam can be made of.
struct DroppedAddress {
    enum class Kind { CamAddress, LocalFile, Nothing };
    Kind kind = Kind::Nothing;
    QString text;  // the address, or the file's path
};
DroppedAddress ReadDroppedAddress(const QByteArray& uriList, const QString& plainText);

// A name for a cam at this address: the host without "www." and the last part of the path
// without its extension ("harbour.example cam1"); never the user part. When taken holds it,
// " 2", " 3", ... is added.
QString ProposedCamName(const QString& address, const QStringList& taken);

struct ImportRow {
    int line = 0;  // in the file, from 1
    CamRecord record;
};
struct SkippedImportRow {
    int line = 0;
    QString text;    // the row as the file has it
    QString reason;  // why it is not added
};
struct ImportPlan {
    bool csv = false;  // the file is a CSV file (else a list of addresses)
    QList<ImportRow> toAdd;
    QList<SkippedImportRow> skipped;
};
// What importing the file's bytes adds to a cam list that lists these names and holds these
// records: rows whose name or address the list (or an earlier row) has already, and bad rows,
// are skipped with the reason.
ImportPlan PlanCamImport(const QByteArray& fileBytes, const QStringList& listedNames, const QList<CamRecord>& existing);

// The CSV file of these cams, with its header row and CR LF line ends.
QByteArray CamListCsv(const QList<CamRecord>& records);
// Writes the CSV file of these cams in one step (a failure leaves the file as it was); a file
// whose addresses hold a password is readable by its owner only. Throws CamListError naming
// the file and the reason.
void WriteCamListCsv(const QString& path, const QList<CamRecord>& records);
