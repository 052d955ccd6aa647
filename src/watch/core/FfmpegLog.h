#pragma once
// FFmpeg's own log lines ("tolvane.ffmpeg") in the program's log instead of on stderr, where
// FFmpeg prints them by itself: its errors and worse as warnings, its warnings as info lines,
// the rest as debug lines. An address in a line shows its password as user:***@, as everywhere.
// Warnings and worse by default; for more, QT_LOGGING_RULES="tolvane.ffmpeg.debug=true" (FFmpeg's
// own level, AV_LOG_INFO unless changed, still bounds what it hands over).
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcFfmpeg)

// Hands FFmpeg's log to the category; once per process, however often it is called, and from
// any thread. Called before FFmpeg's libraries are first used.
void InstallFfmpegLog();

// A log line with the password of every address in it masked.
QString MaskAddressesInLine(const QString& line);
