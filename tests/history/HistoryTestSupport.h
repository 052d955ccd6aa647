#pragma once
// A program folder of its own for each history test, with a cam folder, JPEG files written
// with a chosen modification time, and records made in a line.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include "PictureIndex.h"
#include "ProgramFolder.h"
#include "TestPictures.h"

class HistoryFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        SetProgramFolder(dir_.path());
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("cam")));
    }
    void TearDown() override { SetProgramFolder(QString()); }

    QString camPath(const QString& name) const { return dir_.filePath(QStringLiteral("cam/") + name); }
    // Writes a JPEG into the cam folder; a valid `modified` becomes its modification time.
    void writePicture(const QString& name, QSize size = {32, 24}, const QDateTime& modified = {})
    {
        QFile file(camPath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_GT(file.write(MakeTestJpeg(size)), 0);
        file.flush();  // written before the time is set, or the close would set it again
        if (modified.isValid()) {
            ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
        }
    }
    static PictureRecord Record(const QString& cam, const QString& file, const QDateTime& taken)
    {
        PictureRecord r;
        r.cam = cam;
        r.file = file;
        r.taken = taken;
        r.width = 32;
        r.height = 24;
        r.bytes = 1000;
        return r;
    }
    // 7 May 2007, 15:59:45 at two hours east of UTC.
    static QDateTime At(int minutes = 0, int offsetSeconds = 7200)
    {
        return QDateTime(QDate(2007, 5, 7), QTime(15, 59, 45), QTimeZone(offsetSeconds)).addSecs(minutes * 60);
    }

    QTemporaryDir dir_;
};
