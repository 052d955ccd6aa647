#pragma once
// Writes a cDIBSection as a JPEG file with libjpeg-turbo, which reads the DIB's bottom-up BGR
// rows in place (no copy). A file that is already there is replaced atomically: the picture
// goes to a hidden temporary file beside it, reaches the disk, and only then is renamed over
// the old file, taking over its access and modification times and its permissions. A failed
// save therefore never costs the picture that was there before. A new file takes its name as soon
// as it is written, its way to the disk started but not waited for: a crash of the program loses
// nothing, a power cut in the moment after the save may cost that one picture.
#include <QByteArray>
#include <QString>
#include <cstdint>

class cDIBSection;

// Number of the run-time error that SaveDibAsJpeg raises (a TolvaneError whose source is the
// executable's name + ".JpegWriter").
constexpr std::uint32_t kJpegWriterError = 26001;

// The statuses in the error descriptions "Failed to initialise the IJL library: <status>" and
// "Failed to save to JPG <status>".
enum JpegWriterStatus : int {
    kJpegEncoderRefused = -1,  // the encoder could not start, or refused the picture or quality
    kJpegNoPixels = -2,        // the DIB holds no pixel memory (Empty, or a failed creation)
    kJpegCannotCreate = -3,    // no file could be created in the target's folder
    kJpegCannotWrite = -4,     // writing or flushing the new file to disk failed
    kJpegCannotReplace = -5,   // the finished file could not take the target's name
};

// Encodes the DIB at `quality` (1 to 100; 4:2:0 chroma) into `fileName`. Returns true; every
// failure is raised as TolvaneError kJpegWriterError, and then nothing on disk has changed.
bool SaveDibAsJpeg(const cDIBSection& dib, const QString& fileName, int quality);
// The same encoding kept in memory: the JPEG's bytes. Raises kJpegWriterError as SaveDibAsJpeg
// does for the encoder's failures (kJpegEncoderRefused, kJpegNoPixels).
QByteArray EncodeDibAsJpeg(const cDIBSection& dib, int quality);
