#pragma once
// A cam whose address is an HLS playlist: at each refresh the playlist (and, from a master
// playlist, the variant fit for the size the picture is shown at) and its newest segment are
// fetched with the program's own HTTP rules (an HttpCamSource: sign-in, authorities, redirects),
// and the segment's first keyframe is decoded from memory on the cam's own thread
// (DecodeFirstKeyframe, a job of its JobThread) into the JPEG answer any picture cam gives. A
// fragmented-MP4 segment is decoded behind its initialisation section (#EXT-X-MAP), which is
// fetched once and kept while the playlist names the same one; byte ranges are asked for with a
// Range header.
//
// Live (the cam shown in the Viewer, when the Options say so): the media playlist is loaded
// again at the pace its target duration asks (HlsFollow), each new segment is fetched once,
// through the same HttpCamSource, and fed to a thread that decodes it as one stream
// (RunLiveFeed) and shows its frames at their timestamps' pace. One load at a time, so one
// connection; while live, a start for its address takes the still from the stream.
#include <QImage>
#include <QSet>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <functional>
#include <memory>

#include "CamSource.h"
#include "HlsPlaylist.h"
#include "JobThread.h"
#include "StreamGrab.h"

class HttpCamSource;

class HlsCamSource : public CamSource, private CamSourceEvents {
    Q_OBJECT
public:
    // `shownHeight`: how high the cam's picture is shown outside the Viewer (0: unknown).
    // `refreshSeconds`: the running refresh interval, read as a live load begins (each load must
    // end within it or 10 s, whichever is less, or the playlist's target duration when longer;
    // unset: 10 s).
    HlsCamSource(CamSourceEvents& events, const FetchOptions& options, std::function<qint64()> monotonicMs,
                 std::function<int()> shownHeight, std::function<qint32()> refreshSeconds = {},
                 QObject* parent = nullptr);
    ~HlsCamSource() override;

    bool start(const QString& address) override;
    void stop() override;
    RunningFetch runningFetch() const override;
    qint64 lastBodyByteMs() const override;
    QStringList redirectHops() const override;
    std::optional<FetchOutcome> cutShort(double seconds) const override;

    // As StreamCamSource::setLive: keeps the playlist at `address` followed live; empty: stops.
    // A still a start awaits goes over between the live stream and the ordinary fetch. A live
    // stream that fails is opened again by the next start, not before.
    void setLive(const QString& address);
    // The playlist is followed live.
    bool live() const;
    // Playlist and segment loads of live streams so far.
    int liveLoads() const { return liveLoads_; }

Q_SIGNALS:
    // The newest frame of the live stream, paced as StreamCamSource's are.
    void liveFrame(const QImage& frame);
    // The live stream closed (setLive() with another address, or a failure).
    void liveClosed();

private:
    enum class Stage { Idle, Playlist, Variant, Init, Segment, Decoding };
    // What the inner HTTP source loads, for the still or the live stream: it sets the answer's
    // limit and the words for an answer past it.
    enum class Piece { Playlist, Init, Segment };
    struct Decode;
    struct Live;
    // The inner HTTP fetch's events: the playlists are the source's own business, the segment's
    // download is the cam's progress, and failures are the cam's.
    // While the live stream loads, only its end reaches the cam (and only if a still awaits it).
    void SourcePhase(FetchPhase phase) override;
    void SourceNote(HealthNote::Kind kind, const std::optional<HealthNote>& note) override
    {
        events_.SourceNote(kind, note);
    }
    RequestConditions SourceConditions() override { return {}; }
    void SourceProgress(float percent, const QString& fileName) override;
    void SourceStep(const QString& words, float percent) override;
    void SourceSettle() override;
    void SourceFailed(const FetchOutcome& outcome, bool notFound) override;
    void SourceUnchanged(int status) override;
    void SourceAnswered(CamAnswer answer) override;

    // Whether the inner HTTP source loads for the live stream (else for a still).
    bool LiveLoading() const;
    void StopStill();
    void Fetch(const HlsResource& what, Stage stage);
    // Starts the inner HTTP source on `what`; a segment is read behind the init section kept.
    bool Load(const HlsResource& what, Piece piece, const HlsSegment* segment = nullptr);
    // Whether the segment's init section must be fetched first (it has one, and not the one kept).
    bool NeedsInit(const HlsSegment& segment) const;
    void FetchNewest();
    void TakePlaylist(const QByteArray& body);
    void Fail(const QString& words);
    void Decoded(const std::shared_ptr<Decode>& decode, const StreamStill& still);
    // Tells the cam what a decoded still came to; `doneWords`: its last step.
    void Tell(const StreamStill& still, const QString& doneWords);

    void OpenLive(const QString& address, bool stillAwaited);
    void LiveLoad(const HlsResource& what, int load);
    void LiveTake(const QByteArray& body);
    void LiveNext();
    void LiveTimer();
    void LaunchLive();
    // Closes the live stream; `failed`: it ended by itself (the next start opens it again), and a
    // still awaited hears `tell`; else that still is fetched the ordinary way.
    void EndLive(bool failed, const std::function<void()>& tell);
    void LiveFinished(const std::shared_ptr<Live>& live, const StreamStill& ended);
    void TakeFrame(const std::shared_ptr<Live>& live);
    void LiveStill(const std::shared_ptr<Live>& live, const StreamStill& still);
    qint32 LiveDeadlineSeconds() const;

    std::unique_ptr<HttpCamSource> http_;
    std::function<qint64()> monotonicMs_;
    std::function<int()> shownHeight_;
    std::function<qint32()> refreshSeconds_;
    Stage stage_ = Stage::Idle;
    quint64 fetches_ = 0;  // counts starts and stops, so a queued step of an earlier fetch is dropped
    QUrl current_;         // what is being fetched
    QSet<QUrl> visited_;   // the playlists this fetch has read (no loops)
    std::shared_ptr<Decode> decode_;
    JobThread thread_;      // decodes the stills
    QString stillAddress_;  // what the ordinary fetch fetches
    HlsSegment newest_;     // the segment the still is taken from

    HlsResource piece_;  // what the inner HTTP source loads
    Piece pieceKind_ = Piece::Playlist;
    QByteArray pieceInit_;  // a segment's init section, put in front of it
    // The cam's init section, kept while its playlist names the same one (a server gives a new
    // one a new address), for the stills and the live stream alike.
    struct InitSection {
        HlsResource where;
        QByteArray bytes;
    };
    std::optional<InitSection> init_;

    std::shared_ptr<Live> live_;  // the live stream open; null: none
    QString liveAddress_;         // the playlist to follow live; empty: none
    bool liveFailed_ = false;     // the live stream ended by itself: the next start opens it again
    QTimer liveTimer_;            // the running load's deadline, or the wait for the next load
    // Decodes the live streams, one after another (an ended one is cut at once, so the next
    // one waits for nothing).
    JobThread liveThread_;
    int liveLoads_ = 0;
};
