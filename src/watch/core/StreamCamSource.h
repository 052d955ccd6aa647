#pragma once
// A cam whose address is a video stream (rtsp://, rtsps://): one still per refresh, taken on the
// cam's own thread (GrabStreamStill, a job of its JobThread) and handed to the cam as the JPEG answer any picture cam
// gives. At most one connection per cam: a start while the last grab still winds down (it was
// abandoned, and FFmpeg's interrupt callback is ending it) waits for that grab to close first.
//
// Live (the cam shown in the Viewer, when the Options say so): the stream is kept open on the
// same thread (RunLiveStream) and its frames are told as they come, paced; while it is open, a
// start for its address takes the still from it rather than from a second connection.
#include <QImage>
#include <QString>
#include <atomic>
#include <memory>

#include "CamSource.h"
#include "JobThread.h"
#include "StreamGrab.h"

// Whether the address names a stream this source fetches: rtsp:// or rtsps://, in any letter case.
bool IsStreamAddress(const QString& address);

// A stream's still (status Picture) as the answer a picture cam gives: a JPEG with no stamps,
// new by its content alone.
CamAnswer StillAnswer(const StreamStill& still);

class StreamCamSource : public CamSource {
    Q_OBJECT
public:
    // `refreshSeconds`: the running refresh interval, read at each start (the deadline is the
    // interval or kMostSeconds, whichever is less); `udp`: whether the cam takes its stream over
    // UDP, read at each start as well (unset: TCP).
    StreamCamSource(CamSourceEvents& events, std::function<qint32()> refreshSeconds, std::function<bool()> udp = {},
                    QObject* parent = nullptr);
    ~StreamCamSource() override;

    bool start(const QString& address) override;
    void stop() override;
    RunningFetch runningFetch() const override;
    qint64 lastBodyByteMs() const override { return -1; }
    std::optional<FetchOutcome> cutShort(double seconds) const override;

    // Whether a grab or a live stream runs (or winds down after it was abandoned).
    bool grabbing() const { return grab_ != nullptr; }

    // Keeps the stream at `address` open live; empty: closes it. A still a start awaits goes
    // over from the one connection to the other. A live stream that fails is opened again by
    // the next start, not before (a server that refuses costs one try per refresh).
    void setLive(const QString& address);
    // The stream is open live (not winding down).
    bool live() const;
    // Connections opened so far: grabs and live streams.
    int connectionsOpened() const { return connections_; }

    // The longest wait for a still, and the stream bytes read for one at most (as for an answer).
    static constexpr qint32 kMostSeconds = 10;
    static constexpr qint64 kMostBytes = HttpResponseAssembler::kMaxResponseBytes;

Q_SIGNALS:
    // The newest frame of the live stream, at most LivePacer's rate; one that came while the
    // last was not yet taken replaced it, so frames never pile up.
    void liveFrame(const QImage& frame);
    // The live stream's connection closed (after setLive() with another address, or a failure).
    void liveClosed();

private:
    struct Grab;
    void Launch();
    qint32 DeadlineSeconds() const;
    void TakeFrame(const std::shared_ptr<Grab>& grab);
    void LiveStill(const std::shared_ptr<Grab>& grab, const StreamStill& still);
    void Stepped(const std::shared_ptr<Grab>& grab, StreamStep step);
    void Finished(const std::shared_ptr<Grab>& grab, const StreamStill& still);
    void Deliver(const StreamStill& still, qint32 deadlineSeconds, bool fromLive);

    std::function<qint32()> refreshSeconds_;
    std::function<bool()> udp_;
    std::shared_ptr<Grab> grab_;  // the running grab, current or abandoned
    JobThread thread_;            // runs the grabs and live streams, one after another
    QString pending_;             // the address a start asked for while an abandoned grab winds down
    QString liveAddress_;         // the stream kept open live; empty: none
    bool liveFailed_ = false;     // the live stream ended by itself: the next start opens it again
    int connections_ = 0;
    StreamStep step_ = StreamStep::Connecting;
};
