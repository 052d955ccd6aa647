#pragma once
// Writing a cam's decoded picture as a JPEG file into the save folder (the folder "cam" beside the
// program unless the user chose another), for the automatic save of new pictures and for "Save
// Image", under the names the user chose (PictureName.h).
#include <QDateTime>
#include <QImage>
#include <QString>
#include <exception>

enum class PictureNaming {
    Classic,   // the cam's name, date and time in the user's formats, one folder for all
    Sortable,  // a folder per cam and per day, ISO 8601 times, one second's pictures kept apart
};
// "sortable" is Sortable; anything else the classic names.
PictureNaming PictureNamingFromText(const QString& text);

// Where and how the pictures of a window are saved, as the user chose.
struct SavePlace {
    QString folder;  // an absolute path; empty: the folder "cam" beside the program
    PictureNaming naming = PictureNaming::Classic;
};

// Program folder + "/cam": where pictures go unless the user chose another folder.
QString DefaultSaveFolder();
// The folder a "saveFolder" text names: empty is the default, a relative path is taken from the
// program folder, "~/" from the home folder.
QString SaveFolderFromText(const QString& text);
// The place's folder (the default for an empty one).
QString SaveFolderOf(const SavePlace& place);

// The save folder + the picture's name for the cam and the time under the place's naming.
QString PictureFilePath(const SavePlace& place, const QString& camName, const QDateTime& now);
// Re-encodes the picture (at its own full size) as JPEG, quality 90, replacing a file of the
// same name; makes the file's folder again when it is missing. Throws TolvaneError when the
// picture is empty or the file cannot be written.
void SavePictureAsJpeg(const QImage& picture, const QString& fileName);
// Saves a picture named by PictureFilePath under its naming and returns the file written. Classic:
// as SavePictureAsJpeg. Sortable: the cam's and the day's folders are made, and a file of the
// name (or one being written by another save) is never replaced: the picture takes the first
// free " (n)". Throws as SavePictureAsJpeg.
QString SavePicture(const QImage& picture, const QString& fileName, PictureNaming naming);
// What a failed save says to the user: the writer's description with the system's reason.
QString SaveFailureText(const std::exception& error);
