#pragma once
// What is happening to a watched cam, in words: the phase of the running fetch, what the last
// fetch came to (with a short reason), when a picture was last shown and when a new one last
// came, and how many fetches in a row have failed. The fetch fills it in as it goes without
// changing anything it does; the panel, the Viewer and the watch log read it.
//
// Adding an outcome: a value in FetchOutcomeKind, its words in KindReason (FetchOutcomeText.cpp),
// and, when it is not a failure, a line in OutcomeIsFailure. Every reason text is made there.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSize>
#include <QSslError>
#include <QString>
#include <QStringList>

#include "HttpHeader.h"

struct CamSocketFailure;

enum class FetchPhase {
    Idle,        // no fetch running (not started, or stopped)
    Connecting,  // looking up the host and connecting
    Waiting,     // request sent, nothing received yet
    Receiving,   // bytes of the answer are arriving
    Keyframe,    // a stream runs, and its frames are skipped until a keyframe comes
    Finishing,   // the refresh interval has ended, and the download, still arriving, may finish
    Done,        // the answer has closed or the fetch failed
};

enum class FetchOutcomeKind {
    None,                  // no fetch has ended since the slot was started
    PictureShown,          // a picture went into the thumbnail
    NotAPicture,           // the header names no image type: the not-found picture
    Redirect,              // a 3xx answer with a Location (not followed)
    NoHeader,              // the answer ended before its header did (or was empty)
    BodyNotAPicture,       // the header names an image, the body does not decode
    CutOff,                // the body is shorter than announced, or a JPEG without its end
    TooLarge,              // the answer or the picture is larger than any cam picture
    ConnectionRefused,     // nothing listens at that port
    HostNotFound,          // the name does not resolve
    ConnectionReset,       // the server reset the connection before a picture came
    TlsFailure,            // the handshake failed, often for a certificate problem
    SocketError,           // any other connection failure, in the system's words
    NoAnswer,              // nothing came within the refresh interval
    Abandoned,             // a download still running when the next fetch started
    BadAddress,            // the address cannot be split into host and path
    SignInRefused,         // the cam answered the credentials of the address with a second 401
    StreamWithoutPicture,  // an MJPEG stream brought no whole part within the refresh interval
    Unchanged,             // asked whether the picture changed, the cam answered 304: it stays
    UnsafeRedirect,        // a redirect from https to http, refused
    RedirectRefused,       // a redirect not followed: a loop, one too many, a Location unfit to follow
    // Video streams (StreamCamSource):
    StreamSignInRefused,  // the stream server answered the address's credentials (or none) with 401
    StreamNoAnswer,       // no stream within `seconds` (connection made or not)
    NoKeyframe,           // the stream ran, but no keyframe came within `seconds`
    CodecNotSupported,    // this FFmpeg has no decoder for the codec named in `detail`
    StreamTooLarge,       // the stream declares a picture over the limit: `pictureSize`
    StreamFailed,         // anything else, in words (`detail`)
    StreamProblem,        // an HLS cam's problem, the whole of its words in `detail`
};

// Why a redirect was not followed (RedirectRefused).
enum class RedirectProblem {
    Loop,               // back to an address the fetch had asked already
    TooMany,            // more redirects than a fetch follows
    ControlCharacters,  // the Location line holds control characters
    Unusable,           // the Location names nothing that can be fetched
};

// One fetch's outcome and the facts its reason text is made of.
struct FetchOutcome {
    FetchOutcomeKind kind = FetchOutcomeKind::None;
    int status = 0;              // HTTP status code; 0 when no status line was read
    QString statusReason;        // the status line's words ("Not Found")
    QString contentType;         // media type without parameters; empty when none was sent
    qint64 bodyBytes = -1;       // body bytes received; -1 unknown
    qint64 expectedBytes = -1;   // the announced Content-Length; -1 when none
    qint64 receivedBytes = 0;    // every byte of the answer (NoHeader, ConnectionReset)
    QSize pictureSize;           // PictureShown, TooLarge (when the file declares it): pixels
    QString format;              // PictureShown: "JPEG", "PNG", ...
    QString detail;              // redirect target, host, address (passwords masked), system words
    QList<QSslError> sslErrors;  // TlsFailure: the certificate's problems
    enum class Part { Picture, Header, Answer };
    Part tooLarge = Part::Picture;  // TooLarge: what passed its limit
    double seconds = 0;             // NoAnswer, Abandoned, and pastInterval: how long the fetch ran
    qint32 refreshSeconds = 0;      // NoAnswer, Abandoned, and pastInterval: the refresh interval
    bool pastInterval = false;      // the fetch ended after its refresh interval (a slow download let finish)
    double silentSeconds = 0;       // Abandoned: no byte came for this long (a slow download let finish)
    bool connected = false;         // NoAnswer: the connection was made (waiting) or not (connecting)
    RedirectProblem redirectProblem = RedirectProblem::Loop;  // RedirectRefused: why
    QStringList redirects;  // the redirects the fetch followed on its way: "HTTP 301 to <address>"
};

// Standing problems of a cam that are not one fetch's outcome; shown beside the outcome.
struct HealthNote {
    enum class Kind {
        RefreshNotANumber,  // an edit left a refresh text that is not a number; the old interval runs on
        PasswordInClear,    // Basic sign-in over plain http: the password crossed the network as it is
    };
    Kind kind = Kind::RefreshNotANumber;
    QString text;       // what the user typed
    qint32 number = 0;  // the interval kept, seconds
    bool operator==(const HealthNote&) const = default;
};

// New pictures of the cam that could not be saved (AutoSave): they are being lost, so the cam
// counts as failing until a save of it works again.
struct SaveTrouble {
    QString problem;   // the writer's words with the system's reason; empty: saves work
    QString fileName;  // the last picture that could not be saved
    QDateTime since;   // local time of the first failure of this run
    int lost = 0;      // new pictures not saved since then
    bool operator==(const SaveTrouble&) const = default;
};

enum class CamState {
    Starting,  // no fetch has ended yet
    Ok,
    Stale,    // pictures come, but no new one (by its Last-Modified line) for too long
    Frozen,   // the cam keeps sending new pictures, but the picture (outside its mask) stays the same
    Failing,  // the last fetch showed no picture, or a standing problem
};

// What a cam's answers show of its Last-Modified line, once enough of them came: whether the
// line can tell a new picture at all.
enum class StampTrust {
    Unknown,      // too few answers yet, or nothing to say
    NoStamps,     // the server sends no Last-Modified: no picture is ever new by it
    EveryAnswer,  // a new Last-Modified on (almost) every answer of the very same bytes
};

// Counts what the stamps of a cam's answers do; StampTrust comes of it.
struct StampWatch {
    int pictures = 0;  // pictures shown since the start
    int stamped = 0;   // of them, with a Last-Modified line
    // The last answers whose bytes were those of the picture shown, newest in bit 0: 1 where the
    // Last-Modified line changed all the same. `sameBytes` counts them, up to kStampWindow.
    quint32 restamped = 0;
    int sameBytes = 0;
    StampTrust verdict = StampTrust::Unknown;
    bool operator==(const StampWatch&) const = default;
};
// How many answers a verdict rests on: pictures without a Last-Modified line, or answers of the
// same bytes (all but one of them restamped).
inline constexpr int kStampWindow = 10;

// The health record of one slot; it lives with the slot and is cleared by a stop.
struct CamHealth {
    FetchPhase phase = FetchPhase::Idle;
    FetchOutcome last;
    QDateTime lastPictureShown;       // local time; invalid until a picture is shown
    QDateTime lastNewPicture;         // the first time stamp seen since the start, then each change
    bool lastPictureStamped = false;  // the last shown picture carried a Last-Modified line
    int consecutiveFailures = 0;
    QList<HealthNote> notes;
    SaveTrouble saving;
    QDateTime fetchStarted;  // when the running fetch started
    // The picture outside the mask: when it last changed (or was first shown), and how often, and
    // when last, the cam said since then that it had a new one (a new Last-Modified or ETag, or
    // other bytes) while the picture stayed the same.
    QDateTime lastContentChange;
    QDateTime lastEmptyClaim;
    int emptyClaims = 0;
    bool masked = false;  // the comparison leaves a mask out
    StampWatch stamps;
    // What was last reported (log line, mark), so only changes are reported.
    CamState reportedState = CamState::Starting;
    QString reportedKey;
};

// The words of an outcome: "HTTP 404 Not Found, text/html, 162 bytes", "connection refused".
QString OutcomeReason(const FetchOutcome& outcome);
// PictureShown, Unchanged and None are not failures; every other outcome is.
bool OutcomeIsFailure(FetchOutcomeKind kind);
// Stays the same while the same thing keeps happening (a picture of another size, a body of
// another length), and changes when something else happens: what the log reports a change by.
QString OutcomeKey(const FetchOutcome& outcome);
QString NoteText(const HealthNote& note);
bool NoteMakesFailing(HealthNote::Kind kind);
// What a change of the record is recognised by (the log, the mark): the outcome's key, the
// standing notes and a save problem; a count or a time that moves on is no change.
QString HealthKey(const CamHealth& health);

// A save of the cam's new picture failed (true when it is the first of a run, or another
// problem than the last), or a save of the cam worked (true when it ends a run of failures).
bool RecordSaveFailure(CamHealth& health, const QString& problem, const QString& fileName, const QDateTime& now);
bool RecordSaveSuccess(CamHealth& health);
// "AutoSave failing since 5/7/2007 4:04:50 PM, 3 pictures lost: Failed to save to JPG -4: ...".
QString SaveTroubleText(const SaveTrouble& trouble);
// The status bar's field for cams whose pictures cannot be saved: "AutoSave failing for 3 cams";
// empty for none.
QString SaveTroubleFieldText(int cams);

// The state at `now`: failing outranks frozen, frozen outranks stale. staleAfterSeconds from
// StaleAfterSeconds, frozenAfterSeconds from FrozenAfterSeconds.
inline constexpr qint64 kNeverFrozen = -1;
CamState EvaluateCamState(const CamHealth& health, const QDateTime& now, qint64 staleAfterSeconds,
                          qint64 frozenAfterSeconds = kNeverFrozen);
// A cam is stale after no new picture for staleMinutes, or for ten refresh intervals when that
// is longer.
qint64 StaleAfterSeconds(int staleMinutes, qint32 refreshSeconds);
// A cam is frozen after its picture stayed the same for frozenMinutes (or ten refresh intervals
// when that is longer) while it kept sending new ones; 0 minutes: never (kNeverFrozen).
qint64 FrozenAfterSeconds(int frozenMinutes, qint32 refreshSeconds);
// A picture was shown: `claimedNew`, the cam said it is another one (a new Last-Modified or
// ETag, other bytes); `changed`, the picture outside the mask differs from the one last
// recorded as changed (the first picture always does).
void RecordPictureContent(CamHealth& health, const QDateTime& now, bool claimedNew, bool changed);
// A picture was shown: whether it carried a Last-Modified line, whether its bytes were those of
// the picture shown before, and whether its Last-Modified line differs from the last one.
void WatchStamps(StampWatch& watch, bool stamped, bool sameBytes, bool newStamp);
// What the user should know of the stamps, in words; empty for none.
QString StampTrustText(StampTrust trust);
QString StateText(CamState state);  // "starting", "ok", "stale", "frozen", "failing"
QString PhaseText(FetchPhase phase);
// The reason of the state in words, without the state: "connection refused".
QString HealthReason(const CamHealth& health, CamState state);
// "<state>: <reason>": the Viewer's "Status:" line and, after the cam's name, the log line.
QString HealthSummary(const CamHealth& health, CamState state);
// The thumbnail's tool tip, one line each: name and state, the reason, the phase of a fetch
// that is running, the last picture and the last new picture, the failures in a row.
QStringList HealthToolTipLines(const QString& camName, const CamHealth& health, CamState state);

// Records a fetch's end: the outcome, the failure count, the picture times. `stamped` and
// `newStamp`: the shown picture's header had a Last-Modified line, and it differed from the
// slot's previous one.
void RecordOutcome(CamHealth& health, const FetchOutcome& outcome, const QDateTime& now, bool stamped = false,
                   bool newStamp = false);

// What a closed answer showed before its body is decoded: the response path's outcome, with
// kind PictureShown when there is a whole body to decode (the decode may still refuse it).
struct ClosedAnswer {
    bool headerComplete = false;
    QByteArray header;         // text before the blank line
    qint64 receivedBytes = 0;  // every byte of the answer
    qint64 bodyBytes = 0;      // after the blank line (decoded when chunked)
    qint32 contentLength = 0;  // 0: none read
    bool isImage = false;      // the header mentions "image/"
    bool bodyValid = true;     // false for a malformed chunked body
    bool bodyWhole = true;     // BodyLooksWhole
    QByteArray bodyStart;      // the body's first bytes, for its format
    bool peerReset = false;    // the connection ended with a reset, not a close
};
FetchOutcome ClassifyClosedAnswer(const ClosedAnswer& answer);
// The picture path's end: shown (its size), not a picture, or refused as too large (the size it
// declares, when known).
void FinishPictureOutcome(FetchOutcome& outcome, const QSize& pictureSize, bool refusedTooLarge);
// A connection that failed: refused, host not found, TLS (the certificate's problems), ...
FetchOutcome ClassifySocketFailure(const CamSocketFailure& failure, const QString& host);
// A fetch still running when the next start came: no connection, no answer, or abandoned.
FetchOutcome ClassifyCutShort(FetchPhase phase, bool headerDone, qint64 bodyBytes, qint32 contentLength,
                              qint64 receivedBytes, double seconds, qint32 refreshSeconds);

// The certificate problems in words: "certificate not trusted: self-signed", "name mismatch", "expired".
QString CertificateProblemText(const QSslError& error);
// "162 bytes", "35 KB", "2.4 MB" (1024-based).
QString ByteCountText(qint64 bytes);
// A server's own words (a reason phrase, a content type, a Location) as a health text quotes
// them: at most kQuotedTextLength characters, the rest cut off with "…". A header may hold
// 64 KiB of them, which no tool tip, log line or status line should carry.
inline constexpr qsizetype kQuotedTextLength = 200;
QString QuotedServerText(const QString& text);
// The picture format named by a body's first bytes ("JPEG", "PNG", "GIF", "BMP"); empty when unknown.
QString PictureFormatOf(const QByteArray& bodyStart);
