#pragma once
// Puts what the RTF reader found into a QTextDocument: one block per paragraph, one
// character format per run, fonts and colours looked up in the document's tables.
#include <QString>

#include "RtfReader.h"

class QTextDocument;

void BuildRtfDocument(const RtfReadResult& rtf, QTextDocument& document);

// Reads an RTF file into the document; a file that cannot be read leaves the document empty
// and answers false. Damaged rich text still shows what could be read.
bool LoadRtfFile(const QString& path, QTextDocument& document, RtfStatus* status = nullptr);
