#pragma once
// The demo's stream cam: an HLS playlist of the last three segments, each one keyframe of a
// drawn harbour-clock picture (H.264 in MPEG-TS, made by FFmpeg in memory), a new one every
// two seconds, made when asked for, so that a user can watch a stream cam with no server of
// their own.
#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>

class DemoHlsStream {
public:
    static constexpr int kSegmentSeconds = 2;
    static constexpr int kWindow = 3;  // segments in the playlist

    // The playlist at `now` (UTC); segments are named "seg<n>.ts" beside it.
    QByteArray playlist(const QDateTime& now);
    // Segment n, if it is still in the window; empty otherwise.
    QByteArray segment(qint64 n) const;
    int segmentsEncoded() const { return encoded_; }

private:
    void catchUp(const QDateTime& now);

    qint64 newest_ = -1;  // the newest segment's number (the seconds since the epoch / 2)
    QList<QPair<qint64, QByteArray>> segments_;
    int encoded_ = 0;
};

// One keyframe of `picture`'s size as an MPEG-TS segment; empty when no H.264 encoder is there.
QByteArray EncodeKeyframeSegment(const QImage& picture, qint64 sequence);
