#pragma once
// Making a time-lapse video of saved pictures: H.264 in an MP4 file through FFmpeg's libraries,
// yuv420p, one picture per frame at the chosen frames per second. The size is the first
// readable picture's, made even by a black border (never stretched); pictures of another size
// are scaled to fit it, keeping their shape. Files that cannot be read are skipped and counted.
// The video is written beside the output file and takes its name only when it is complete, so
// a cancelled or failed export leaves no partial file (and an older file of the name intact).
// A file of the name is replaced only when the job says so: one that was not there when the
// user was asked, or that came meanwhile, is left as it is.
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

struct TimelapseJob {
    QStringList files;  // the pictures, in the order shown
    int fps = 24;       // frames per second, 1 to 120
    QString outFile;    // the video to write
    // Whether a file already under outFile may be replaced. When false the finished video
    // takes the name only if nothing else has it (OutputExists otherwise).
    bool replaceExisting = false;
    // The FFmpeg encoder; empty: TOLVANE_TIMELAPSE_ENCODER when set, else libx264.
    QString encoder;
};

enum class TimelapseStatus {
    Done,
    Cancelled,
    NoPictures,    // no files, or none of them could be read
    CodecMissing,  // FFmpeg has no such H.264 encoder here
    CannotWrite,   // the output's folder or file cannot be written
    OutputExists,  // a file has the output's name and was not to be replaced
    Failed,        // the encoder or the muxer failed on the way
};

struct TimelapseResult {
    TimelapseStatus status = TimelapseStatus::Failed;
    QString message;     // what happened, in words (the user's language)
    QString logMessage;  // the same in English, for the log
    int frames = 0;      // pictures in the video
    int skipped = 0;     // files that could not be read
    QSize size;          // the video's frame size (even)
};

// done of total pictures handled so far (skipped ones included); called on the exporting thread.
using TimelapseProgress = std::function<void(int done, int total)>;

// Runs the whole export on the calling thread (give it a thread of its own beside a window);
// the pictures are read on a second thread while the encoder works. cancel is polled between
// pictures.
TimelapseResult MakeTimelapse(const TimelapseJob& job, const TimelapseProgress& progress = {},
                              const std::atomic<bool>* cancel = nullptr);

// Whether something other than a folder has this name already (a link counts, even a broken
// one): what asking before replacing a video looks at.
bool VideoFileExists(const QString& path);
// "1 picture", "40 pictures".
QString PictureCountText(int count);

// The even frame size for a first picture of this size: one black row or column added.
QSize EvenFrameSize(const QSize& picture);
// Seconds left when done of total took elapsed seconds; negative when unknown.
double SecondsLeft(int done, int total, double elapsedSeconds);
// "12 s", "3 min 05 s", "1 h 02 min"; "unknown" for a negative number.
QString DurationText(double seconds);
