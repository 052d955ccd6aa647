#pragma once
// A cam whose address is a video stream (rtsp://, rtsps://): one still per refresh, taken on a
// thread of its own (GrabStreamStill) and handed to the cam as the JPEG answer any picture cam
// gives. At most one connection per cam: a start while the last grab still winds down (it was
// abandoned, and FFmpeg's interrupt callback is ending it) waits for that grab to close first.
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

#include "CamSource.h"
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

    // Whether a grab runs (or winds down after it was abandoned).
    bool grabbing() const { return grab_ != nullptr; }

    // The longest wait for a still, and the stream bytes read for one at most (as for an answer).
    static constexpr qint32 kMostSeconds = 10;
    static constexpr qint64 kMostBytes = HttpResponseAssembler::kMaxResponseBytes;

private:
    struct Grab;
    void Launch();
    void Stepped(const std::shared_ptr<Grab>& grab, StreamStep step);
    void Finished(const std::shared_ptr<Grab>& grab, const StreamStill& still);
    void Deliver(const StreamStill& still, qint32 deadlineSeconds);

    std::function<qint32()> refreshSeconds_;
    std::function<bool()> udp_;
    std::shared_ptr<Grab> grab_;  // the running grab, current or abandoned
    std::thread thread_;
    QString pending_;  // the address a start asked for while an abandoned grab winds down
    StreamStep step_ = StreamStep::Connecting;
};
