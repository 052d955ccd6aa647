#pragma once
// What every fuzz target shares: a failed invariant stops the run with a message, and the Qt
// objects and scratch folder that the readers need are made once, before the first input.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// Stops the run as a finding: libFuzzer saves the input that broke the invariant.
[[noreturn]] void FuzzFail(const char* file, int line, const char* what, const QString& detail);
#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            FuzzFail(__FILE__, __LINE__, #condition, (detail));                                                        \
    } while (false)

enum class FuzzApp { Core, Gui };

// Creates the application object once (the offscreen platform for Gui), puts the product's
// metadata into it, pins the default locale to English (United States) and keeps Qt's
// warnings off the output.
void StartFuzzApplication(FuzzApp kind);

// A private folder that lives for the whole run; the settings and cam list targets use it as
// the program folder, so nothing of the user's is read or written. Temporary files (TMPDIR)
// go there as well.
QString FuzzScratchFolder();

inline QByteArray FuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Replaces the file's contents with the bytes, or stops the run when that fails (a scratch
// folder that cannot be written makes every later check meaningless).
void FuzzWriteFile(const QString& path, const QByteArray& bytes);
QByteArray FuzzReadFile(const QString& path);
