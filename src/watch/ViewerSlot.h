#pragma once
// One viewer panel of the main window: its controls (the control arrays indexed by slot
// number) and its watch state (the parallel per-slot arrays), kept together per slot.
//
// Every control carries "<name>_<index>" as its objectName, for example "Frame_0",
// "imgCam_5", "txtRefresh_23", "wsCam_2", "timRefresh_7", so tests and tools find them.
#include <QByteArray>
#include <QSize>
#include <QString>

#include "CamHealth.h"
#include "CamRedirect.h"
#include "CamSignIn.h"
#include "CamUrl.h"
#include "HttpResponse.h"

class CamSocket;
class ImageControl;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;
class SlotHealthMark;
class SlotProgressBar;

struct ViewerSlot {
    // Controls; the panel owns them (and the timer and socket) through Qt parenthood.
    QGroupBox* Frame = nullptr;            // the panel; visible exactly while the slot is open
    QWidget* Picture2 = nullptr;           // thumbnail holder, clips imgCam
    ImageControl* imgCam = nullptr;        // the thumbnail: the picture (a scaled decode), stretched
    ImageControl* imgRefresh = nullptr;    // refresh indicator, shown while a fetch runs
    ImageControl* Picture3 = nullptr;      // the box around the thumbnail; a second click target
    SlotHealthMark* healthMark = nullptr;  // over the thumbnail's edge: stale or failing
    SlotProgressBar* prgCam = nullptr;     // percent of the fetch's picture body received; 0 at its start
    QLineEdit* txtName = nullptr;          // the slot's texts: below the panel's lower edge, never seen
    QLineEdit* txtAddress = nullptr;
    QLineEdit* txtRefresh = nullptr;    // refresh interval in seconds, as typed
    QLineEdit* txtUpdated = nullptr;    // the server's Last-Modified value
    QLineEdit* txtRefreshed = nullptr;  // local date and time a changed picture was last seen
    QPushButton* cmdStart = nullptr;    // "start", never seen
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdStop = nullptr;
    QTimer* timRefresh = nullptr;  // 1000 ms refresh clock
    CamSocket* wsCam = nullptr;    // the slot's HTTP connection

    // Watch state.
    qint32 slotRefreshSeconds = 0;  // refresh interval of the running watch, whole seconds
    qint32 slotElapsed = 0;         // seconds since the current fetch started
    QString slotHost;               // what the socket connects to
    QString slotPath;               // from the first "/" on; blanks become "%20" on connect
    QString slotHostHeader;         // the request's "Host:" value (host, plus a non-default port)
    quint16 slotPort = 80;
    bool slotTls = false;  // "https" addresses run over TLS
    // The address's user part ("user:password@"), never sent in the Host line or shown.
    bool slotSignIn = false;
    QString slotUser;
    QString slotPassword;
    CamSignIn signIn;  // the remembered challenge and what this fetch has tried
    // The redirects the running fetch followed; the slot* address fields above are its last hop's.
    RedirectChain redirects;
    // The response collected so far: stands for slotBuffer, slotBytesReceived, slotHeaderDone
    // and slotContentLength.
    HttpResponseAssembler slotResponse;
    // The boundary of an answer that is an MJPEG stream (multipart/x-mixed-replace); empty otherwise.
    QByteArray slotStreamBoundary;
    // How far the stream's body has been looked at: decoded (a chunked stream's) and searched.
    struct StreamProgress {
        qsizetype searched = 0;  // body bytes already searched for a whole part
        bool chunked = false;
        qsizetype chunkAt = 0;  // where the raw body's first chunk not yet decoded begins
        QByteArray decoded;     // a chunked stream's body as decoded so far
    };
    StreamProgress slotStream;
    // Letting a slow download finish: when a byte of the body last came (monotonic milliseconds,
    // -1 none yet), and whether the refresh interval has ended while it goes on.
    qint64 slotLastBodyByteMs = -1;
    bool slotFinishing = false;
    quint64 slotStarts = 0;    // counts starts and stops, so a start asked for an earlier fetch is dropped
    QString slotLastModified;  // the last "Last-Modified:" line seen; survives stops
    // The address the running fetch started from, and what a conditional request asks about the
    // picture shown (the address it came from beside it): whether the running request asked.
    QString slotFetchAddress;
    QString slotConditionsAddress;
    RequestConditions slotConditions;
    bool slotConditionsSent = false;
    bool slotIsNew = false;  // the picture just handled is a changed one
    // The compressed bytes of the picture the thumbnail shows (the fetched body, or the saved
    // file after an automatic save) and that picture's own size: the thumbnail may hold a scaled
    // decode, and the full picture is decoded from these when something shows or saves it.
    QByteArray slotPictureBytes;
    QSize slotPictureSize;
    CamHealth health;  // what is happening to the cam; cleared by a stop

    // Builds the panel's controls on the grid's scrolling surface, hidden, at the panel's
    // place for this index (twips, applied at 15 twips per pixel).
    void create(int index, QWidget* surface);
    // The panel's caption as plain text: the cam's name while open, "[webcam]" after a stop.
    // (The frame would read a single "&" as a shortcut marker, so it is stored doubled.)
    QString caption() const;
    void setCaption(const QString& text);
    // A slot is open while its panel is shown (whether or not the window itself is on screen).
    bool isOpen() const;
};
