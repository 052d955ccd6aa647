// The main window's session: what the last run left (the cams in their panels, the Viewer's cam
// and zoom, the wall, the window) brought back at start and kept whenever it changes.
#include <QCoreApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>

#include "Form1.h"
#include "Options.h"
#include "SlotGrid.h"
#include "StartOptions.h"
#include "ViewerPane.h"

namespace {
// A change is kept within this time; the changes of a second (every cam's pictures, a window
// being dragged) cost one look at the store.
constexpr int kSessionKeepDelayMs = 1000;
}  // namespace

void Form1::StartSession(const StartOptions& options, QStringList* missing, QStringList* withoutPanel)
{
    if (!sessionTimer_) {
        sessionTimer_ = new QTimer(this);
        sessionTimer_->setObjectName(QStringLiteral("sessionTimer"));
        sessionTimer_->setSingleShot(true);
        sessionTimer_->setInterval(kSessionKeepDelayMs);
        connect(sessionTimer_, &QTimer::timeout, this, &Form1::KeepSession);
        // A signal (SIGTERM, Ctrl-C) ends the event loop without passing through the window.
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &Form1::EndSession);
    }
    // A list that could not be read would make every remembered cam look deleted, and keeping
    // that would lose the session: without the list the session is left as it is.
    sessionAllowed_ = options.keepSession && camListLoaded_;
    sessionStored_ = sessionAllowed_ ? ReadRememberedSession() : RememberedSession{};
    const bool restore = sessionAllowed_ && OptionIsOn(SettingKeys::reopenCams);
    const RememberedSession remembered = restore ? sessionStored_ : RememberedSession{};

    // The window: where and as it was (else maximized, as Form_Load left it), or full screen.
    if (!remembered.window.isEmpty()) {
        restoreGeometry(remembered.window);
        if (!isFullScreen())
            stateBeforeFullScreen_ = windowState() & ~Qt::WindowMinimized;
    }
    if (options.fullscreen)
        setFullScreen(true);
    else
        show();

    // The cams: those the command line names, else those that were open, each in its panel.
    if (!options.openNames.isEmpty() || !restore) {
        const QStringList notListed = OpenCamsByName(options.openNames, withoutPanel);
        if (missing)
            *missing = notListed;
    } else {
        QStringList gone;
        for (int i = 0; i < static_cast<int>(remembered.panels.size()) && i < SlotGrid::kSlotCount; ++i) {
            const QString& name = remembered.panels.at(i);
            if (name.isEmpty() || OpenSlotOfCam(name) >= 0)
                continue;
            if (List1->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
                gone << name;
                continue;
            }
            slotGrid->OpenCamInFreeSlot(name, i);
        }
        // Said once: the session kept below no longer holds them.
        if (!gone.isEmpty())
            setStatusText(tr("Not reopened, no longer in the cam list: %1").arg(gone.join(QStringLiteral(", "))));
    }

    if (restore) {
        frmMain->Slider1->setValue(remembered.zoom);
        frmMain->setFit(remembered.fit);
        if (const int shown = OpenSlotOfCam(remembered.viewerCam); shown >= 0)
            ShowSlotInViewer(shown);
    }
    if (options.wall || remembered.wall)
        setWallShown(true);

    updateSessionKept();
}

int Form1::OpenSlotOfCam(const QString& name)
{
    if (name.isEmpty())
        return -1;
    for (int i = 0; i < SlotGrid::kSlotCount; ++i) {
        if (slotGrid->cam(i).isOpen() && slotGrid->cam(i).name() == name)
            return i;
    }
    return -1;
}

RememberedSession Form1::currentSession() const
{
    RememberedSession session;
    for (int i = 0; i < SlotGrid::kSlotCount; ++i) {
        const WatchedCam& cam = slotGrid->cam(i);
        session.panels << (cam.isOpen() ? cam.name() : QString());
    }
    while (!session.panels.isEmpty() && session.panels.constLast().isEmpty())
        session.panels.removeLast();
    const int shown = slotGrid->cams().selectedSlot();
    if (!frmMain->isHidden() && shown >= 0 && shown < SlotGrid::kSlotCount && slotGrid->cam(shown).isOpen())
        session.viewerCam = slotGrid->cam(shown).name();
    session.fit = frmMain->fit();
    // At Fit the bar follows the picture and the window: only "fit" is kept, so a resize or
    // another cam's picture costs no write.
    session.zoom = session.fit ? 1 : frmMain->Slider1->value();
    session.wall = wallShown_;
    session.window = saveGeometry();
    return session;
}

void Form1::updateSessionKept()
{
    const bool kept = sessionAllowed_ && OptionIsOn(SettingKeys::reopenCams);
    const bool started = kept && !sessionKept_;
    sessionKept_ = kept;
    if (started)
        KeepSession();
}

void Form1::sessionChanged()
{
    // Not restarted by later changes: a stream of them (pictures of 24 cams) still keeps it.
    if (sessionTimer_ && sessionKept() && !sessionTimer_->isActive())
        sessionTimer_->start();
}

void Form1::KeepSession()
{
    if (!sessionKept())
        return;
    const RememberedSession now = currentSession();
    if (now == sessionStored_)
        return;
    if (KeepRememberedSession(now, sessionStored_))
        sessionStored_ = now;
    else
        sessionStored_ = ReadRememberedSession();  // what did get written
}

void Form1::EndSession()
{
    KeepSession();
    sessionEnded_ = true;
    if (sessionTimer_)
        sessionTimer_->stop();
}
