#pragma once
// A cam whose address is an HLS playlist: at each refresh the playlist (and, from a master
// playlist, the variant fit for the size the picture is shown at) and its newest segment are
// fetched with the program's own HTTP rules (an HttpCamSource: sign-in, authorities, redirects),
// and the segment's first keyframe is decoded from memory on a thread of its own
// (DecodeFirstKeyframe) into the JPEG answer any picture cam gives.
#include <QSet>
#include <QString>
#include <QUrl>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "CamSource.h"
#include "StreamGrab.h"

class HttpCamSource;

class HlsCamSource : public CamSource, private CamSourceEvents {
    Q_OBJECT
public:
    // `shownHeight`: how high the cam's picture is shown outside the Viewer (0: unknown).
    HlsCamSource(CamSourceEvents& events, const FetchOptions& options, std::function<qint64()> monotonicMs,
                 std::function<int()> shownHeight, QObject* parent = nullptr);
    ~HlsCamSource() override;

    bool start(const QString& address) override;
    void stop() override;
    RunningFetch runningFetch() const override;
    qint64 lastBodyByteMs() const override;
    QStringList redirectHops() const override;

private:
    enum class Stage { Idle, Playlist, Variant, Segment, Decoding };
    struct Decode;
    // The inner HTTP fetch's events: the playlists are the source's own business, the segment's
    // download is the cam's progress, and failures are the cam's.
    void SourcePhase(FetchPhase phase) override { events_.SourcePhase(phase); }
    void SourceNote(HealthNote::Kind kind, const std::optional<HealthNote>& note) override
    {
        events_.SourceNote(kind, note);
    }
    RequestConditions SourceConditions() override { return {}; }
    void SourceProgress(float percent, const QString& fileName) override;
    void SourceStep(const QString& words, float percent) override { events_.SourceStep(words, percent); }
    void SourceSettle() override { events_.SourceSettle(); }
    void SourceFailed(const FetchOutcome& outcome, bool notFound) override;
    void SourceUnchanged(int status) override { events_.SourceUnchanged(status); }
    void SourceAnswered(CamAnswer answer) override;

    void Fetch(const QUrl& url, Stage stage);
    void TakePlaylist(const QByteArray& body);
    void Fail(const QString& words);
    void Decoded(const std::shared_ptr<Decode>& decode, const StreamStill& still);

    std::unique_ptr<HttpCamSource> http_;
    std::function<int()> shownHeight_;
    Stage stage_ = Stage::Idle;
    quint64 fetches_ = 0;  // counts starts and stops, so a queued step of an earlier fetch is dropped
    QUrl current_;         // what is being fetched
    QSet<QUrl> visited_;   // the playlists this fetch has read (no loops)
    std::shared_ptr<Decode> decode_;
    std::thread thread_;
};
