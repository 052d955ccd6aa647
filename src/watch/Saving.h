#pragma once
// Writing a cam's decoded picture as a JPEG file into the folder "cam" beside the program,
// for the automatic save of new pictures and for "Save Image".
#include <QDateTime>
#include <QImage>
#include <QString>
#include <exception>

// Program folder + "/cam/" + the picture file name for the cam and the time.
QString PictureFilePath(const QString& camName, const QDateTime& now);
// Re-encodes the picture (at its own full size) as JPEG, quality 90, replacing a file of the
// same name; makes the file's folder again when it is missing. Throws TolvaneError when the picture is empty or the
// file cannot be written.
void SavePictureAsJpeg(const QImage& picture, const QString& fileName);
// What a failed save says to the user: the writer's description with the system's reason.
QString SaveFailureText(const std::exception& error);
