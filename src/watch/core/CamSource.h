#pragma once
// Where a watched cam's pictures come from: one fetch per refresh, started and abandoned by the
// cam (WatchedCam), which hears what happens through CamSourceEvents. Newness, health, saving and
// the picture index do not care which source brought a picture: a source hands over an answer
// (a header, which may be empty, and a body) and the cam does the rest. The sources are HTTP,
// HTTPS and MJPEG over a CamSocket (HttpCamSource), and video streams, one still per refresh
// (StreamCamSource).
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "CamHealth.h"
#include "CamRedirect.h"
#include "CamUrl.h"
#include "HttpResponse.h"
#include "PictureChange.h"
#include "PictureSave.h"

// The fetch's choices from the Options dialog; all off, every cam is fetched as it always was.
struct FetchOptions {
    // Follow 301, 302, 303, 307 and 308 answers (up to 5; never from https to http).
    bool followRedirects = false;
    // Ask whether the picture changed (If-None-Match, If-Modified-Since); a 304 keeps it.
    bool conditionalRequests = false;
    // What makes a picture new, and when its content counts as changed.
    NewPictureRule newPictureRule = NewPictureRule::LastModified;
    ChangeRule change;
    // Where new pictures are saved, and under which names.
    SavePlace save;
};

// One answer to show: the picture (or the not-found picture) and the facts of its health outcome.
struct CamAnswer {
    HttpResponseAssembler::Finished response;  // header, body, whether the header names an image
    qint32 contentLength = 0;                  // the announced length of the body (0: none)
    bool headerComplete = true;
    qint64 receivedBytes = 0;  // every byte of the answer
    bool peerReset = false;    // the connection ended with a reset, not a close
    // Replaces the outcome of an answer that shows no picture (None: the answer's own).
    FetchOutcomeKind kind = FetchOutcomeKind::None;
    RedirectHop refusedRedirect;  // kind UnsafeRedirect or RedirectRefused: the hop refused
    // A still of a video stream: it has no Last-Modified, so its content alone says whether it is new.
    bool byContent = false;
};

// What a fetch still running at the end of the refresh interval had got so far.
struct RunningFetch {
    bool headerDone = false;
    qint64 bodyBytes = 0;
    qint32 contentLength = 0;
    qint64 receivedBytes = 0;
    bool stream = false;  // an MJPEG stream, which never ends by itself
};

// What a source tells the cam it fetches for, in the order it happens.
class CamSourceEvents {
public:
    virtual void SourcePhase(FetchPhase phase) = 0;
    // A standing note of this kind comes (or goes, with nothing).
    virtual void SourceNote(HealthNote::Kind kind, const std::optional<HealthNote>& note) = 0;
    // What the next request may ask about the picture shown; taken at every connection.
    virtual RequestConditions SourceConditions() = 0;
    // Percent of the body received, and the picture's file name, for the progress texts.
    virtual void SourceProgress(float percent, const QString& fileName) = 0;
    // A step of a fetch that is no download ("waiting for a keyframe"), and how far along it is.
    virtual void SourceStep(const QString& words, float percent) = 0;
    // The cam's earlier answers must be handled before what follows.
    virtual void SourceSettle() = 0;
    // The fetch ended without an answer to show; `notFound`: the not-found picture takes its place.
    virtual void SourceFailed(const FetchOutcome& outcome, bool notFound) = 0;
    // A 304 to a request that asked whether the picture changed.
    virtual void SourceUnchanged(int status) = 0;
    virtual void SourceAnswered(CamAnswer answer) = 0;

protected:
    ~CamSourceEvents() = default;
};

class CamSource : public QObject {
    Q_OBJECT
public:
    explicit CamSource(CamSourceEvents& events, QObject* parent = nullptr) : QObject(parent), events_(events) { }

    // Starts a fetch of the picture at `address`, abandoning the one running. False: the address
    // names nothing this source can fetch (nothing runs).
    virtual bool start(const QString& address) = 0;
    // Abandons the running fetch; nothing more is heard of it.
    virtual void stop() = 0;
    virtual RunningFetch runningFetch() const = 0;
    // When a byte of the running fetch's body last came (monotonic milliseconds); -1: none yet.
    virtual qint64 lastBodyByteMs() const = 0;
    // The redirects the running fetch followed, "HTTP 301 to <address>".
    virtual QStringList redirectHops() const { return {}; }
    // What the running fetch comes to when the next start abandons it after `seconds`, where the
    // source knows better than its phase does; none: as any fetch of that phase.
    virtual std::optional<FetchOutcome> cutShort(double seconds) const
    {
        Q_UNUSED(seconds);
        return std::nullopt;
    }

protected:
    CamSourceEvents& events_;
};
