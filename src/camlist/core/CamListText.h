#pragma once
// How the cam list file's bytes become lines: UTF-8, or Windows-1252 for files written by
// older programs; lines end at CR LF, a lone CR or a lone LF.
#include <QByteArray>
#include <QString>
#include <QStringList>

// UTF-16 when the bytes begin with its byte-order mark (Notepad's "Unicode"), UTF-8 when they
// are valid UTF-8 (a leading byte-order mark is dropped), otherwise every byte read as
// Windows-1252.
QString DecodeCamListText(const QByteArray& bytes);
// Whether DecodeCamListText reads the bytes as UTF-8 (not as UTF-16 or Windows-1252).
bool IsUtf8CamListText(const QByteArray& bytes);
QString DecodeWindows1252(const QByteArray& bytes);
// The lines of text without their line ends; a final line without a line end still counts,
// and a text ending in a line end has no empty line after it.
QStringList SplitCamListLines(const QString& text);
