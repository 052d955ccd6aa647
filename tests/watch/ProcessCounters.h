#pragma once
// What a long-running program must not pile up, read from the process itself: resident memory,
// open file descriptors, and temporary files in a folder. Linux only (/proc/self).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Resident-memory figures mean nothing under AddressSanitizer, which quarantines freed blocks.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizerBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizerBuild = true;
#else
constexpr bool kAddressSanitizerBuild = false;
#endif
#else
constexpr bool kAddressSanitizerBuild = false;
#endif

// A "Vm..." line of /proc/self/status in KiB (for example "VmRSS"); -1 when it cannot be read.
qint64 ProcessStatusKiB(const QByteArray& field);
// Starts the peak resident memory (VmHWM) afresh from the present resident memory; false where
// the system does not allow it (then VmHWM keeps the peak of the whole run).
bool ResetPeakResidentMemory();
// What each open descriptor of this process refers to ("socket:[...]", a path, ...).
QStringList OpenFileDescriptors();
// The files in the folder whose names match the wildcard (for example "vbt*.tmp").
QStringList FilesMatching(const QString& folder, const QString& wildcard);

// Points the system's temporary folder (TMPDIR) at a fresh folder of the test's own for its
// lifetime, so that other programs' files there cannot disturb a count.
class PrivateTempFolder {
public:
    PrivateTempFolder();
    ~PrivateTempFolder();
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

    bool isValid() const { return folder_.isValid(); }
    QString path() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
    QByteArray previous_;
    bool hadPrevious_ = false;
};
