#pragma once
// One still from a video stream, the way a picture cam gives one picture: connect, read until the
// first keyframe (no other frame is decoded: a picture decoded from a frame that depends on
// earlier ones comes out grey or smeared), decode that one picture, close, and hand it over as
// a JPEG at the quality every saved picture has. Blocking: it runs on a thread of its own, never
// the window's. Every wait is bounded by the deadline and by the `abandon` flag, which FFmpeg's
// interrupt callback reads while it connects, reads or waits.
#include <QByteArray>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>

enum class StreamStep {
    Connecting,          // connecting and asking for the stream
    WaitingForKeyframe,  // the stream runs; its frames are skipped until a keyframe comes
    Decoding,            // the keyframe came and is decoded
};

struct StreamGrabRequest {
    QString address;        // rtsp:// or rtsps://, credentials percent-encoded in the user part
    bool udp = false;       // RTP over UDP instead of interleaved in the RTSP connection
    qint64 deadlineMs = 0;  // from the start; FFmpeg is interrupted then
    qint64 maxBytes = 0;    // stream bytes read at most before the keyframe is given up
};

struct StreamStill {
    enum class Status {
        Picture,            // `jpeg` holds the still
        Abandoned,          // the abandon flag was set
        ConnectionRefused,  // nothing listens there
        HostNotFound,
        SignInRefused,      // the server answered 401 to the credentials (or to none)
        NoAnswer,           // the deadline passed before the stream ran
        NoKeyframe,         // the deadline passed while frames came, none of them a keyframe
        CodecNotSupported,  // this FFmpeg has no decoder for the stream's codec (`codec`)
        TooLarge,           // the stream declares a picture over the limit (`size`)
        NoVideo,            // the stream holds no video
        CutOff,             // the stream ended in the middle of its keyframe
        Ended,              // the stream ended before a keyframe came
        TooManyBytes,       // maxBytes were read without a keyframe
        Failed,             // anything else: `detail` says it in FFmpeg's words
    };
    Status status = Status::Failed;
    QByteArray jpeg;
    QSize size;     // Picture: the still's; TooLarge: the declared one
    QString codec;  // the stream's codec ("h264", "hevc")
    QString detail;
    qint64 bytesRead = 0;  // stream bytes read
};

// Grabs one still; `step` is called (on the calling thread) as each step begins.
StreamStill GrabStreamStill(const StreamGrabRequest& request, const std::atomic<bool>& abandon,
                            const std::function<void(StreamStep)>& step);

// The same from bytes already in memory (a video segment): no deadline but `abandon`, and the
// last keyframe of the data is whole.
StreamStill DecodeFirstKeyframe(const QByteArray& segment, const std::atomic<bool>& abandon);
