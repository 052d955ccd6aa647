#pragma once
// One still from a video stream, the way a picture cam gives one picture: connect, read until the
// first keyframe (no other frame is decoded: a picture decoded from a frame that depends on
// earlier ones comes out grey or smeared), decode that one picture, close, and hand it over as
// a JPEG at the quality every saved picture has. Blocking: it runs on a thread of its own, never
// the window's. Every wait is bounded by the deadline and by the `abandon` flag, which FFmpeg's
// interrupt callback reads while it connects, reads or waits.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

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

// Which decoded frames of a live stream are shown: at most one per interval of the stream's own
// frame rate, or of kMostFps when that is less (or the stream names none), over any stretch of
// time. A frame a quarter of an interval early counts as on time (the stream's jitter); a late
// one brings no burst after it. Pure: the caller passes the time.
class LivePacer {
public:
    static constexpr double kMostFps = 25.0;
    explicit LivePacer(double streamFps);
    // Whether a frame decoded at `nowMs` (a clock that never goes back) is shown.
    bool due(qint64 nowMs);
    qint64 intervalMs() const { return intervalMs_; }

private:
    qint64 intervalMs_ = 40;
    std::optional<qint64> nextDueMs_;
};

// What a live stream does with what it decodes; all are called on the stream's own thread.
struct LiveStreamCalls {
    std::function<void(StreamStep)> step;
    // A frame the pacer let through, to be shown.
    std::function<void(const QImage&)> frame;
    // Asked at every decoded frame: true once (until asked again) when a still is wanted; the
    // frame is then encoded as a still (status Picture) and handed to `still`.
    std::function<bool()> stillWanted;
    std::function<void(const StreamStill&)> still;
    // Milliseconds of a clock that never goes back, for the pacing (unset: the steady clock).
    std::function<qint64()> nowMs;
    // Set for a stream that comes faster than it plays (segments fetched whole): each frame waits
    // with this until LiveClock says it is due; unset, frames are shown as they come.
    std::function<void(qint64 steadyMs)> sleepUntilMs;
};

// When the frames of a live stream that comes faster than it plays are due: as far apart as
// their timestamps say, from the first frame on. A frame far behind (the source was slow) or far
// ahead (the timestamps jumped: a new encoder, a discontinuity) starts the count again from now,
// so that neither a burst nor a long freeze follows. Pure: the caller passes the time.
class LiveClock {
public:
    static constexpr qint64 kMostLateMs = 1000;
    static constexpr qint64 kMostAheadMs = 10000;
    // When the frame stamped `frameMs` is due, on the clock of `nowMs`.
    qint64 dueMs(qint64 frameMs, qint64 nowMs);

private:
    std::optional<qint64> offsetMs_;  // from the timestamps to the clock
};

// The newest frame of a live stream not yet shown, on its way from the stream's thread to the
// window's: one that comes before the last was taken replaces it, so frames never pile up and at
// most one call to take them is queued at a time.
class LiveFrameBox {
public:
    // Stream thread: keeps the frame; true when a call to take it must be queued.
    bool put(const QImage& frame);
    // Window thread: the frame kept (null: none); the next put() asks for a call again.
    QImage take();

private:
    std::mutex lock_;
    QImage frame_;
    bool told_ = false;
};

// A live stream that comes in pieces fetched whole (an HLS playlist's segments, oldest first),
// from the thread that fetches them to the one that decodes them. The reader
// waits for the next piece; the fetching side bounds that wait by its own deadlines, ending the
// feed (finish) or cutting it (cancel).
class LiveFeed {
public:
    // Pieces waiting at most, and their bytes (`mostWaitingBytes`, though the newest piece
    // always stays): past that the oldest go, for a reader that fell behind goes on from newer
    // ones (live, not late), and a source of large pieces cannot pile them up in memory.
    static constexpr int kMostWaiting = 3;
    explicit LiveFeed(qint64 mostWaitingBytes) : mostWaitingBytes_(mostWaitingBytes) { }
    // Adds a piece; returns how many waiting pieces were dropped for it.
    int push(QByteArray piece);
    // No piece comes after those given: the reader ends once it read them.
    void finish();
    // The reader ends at once, and so does a sleepUntil().
    void cancel();

    // Reader: the next piece, waiting while none is there; none at the end.
    std::optional<QByteArray> take();
    // Reader: waits until the steady clock reaches `steadyMs` or the feed is cancelled.
    void sleepUntil(qint64 steadyMs);

private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<QByteArray> pieces_;
    const qint64 mostWaitingBytes_;
    bool finished_ = false;
    bool cancelled_ = false;
};

// Keeps the stream open and decodes every frame from its first keyframe on, until `abandon` is
// set (status Abandoned) or the stream fails; returns why it ended. The first frame must come
// within the request's deadline (as for a still) and every packet after it within as long again;
// the request's maxBytes bound what is read while a keyframe is awaited. Blocking, as a grab.
StreamStill RunLiveStream(const StreamGrabRequest& request, const std::atomic<bool>& abandon,
                          const LiveStreamCalls& calls);

// The same for a stream whose pieces come through `feed` (request: its maxBytes; no deadline,
// the feed's fetcher keeps its own), its frames shown at their timestamps' pace. `abandon` is
// set together with feed.cancel().
StreamStill RunLiveFeed(LiveFeed& feed, const StreamGrabRequest& request, const std::atomic<bool>& abandon,
                        const LiveStreamCalls& calls);
