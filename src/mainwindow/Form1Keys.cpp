// The main window's keys: the desktop's standard sequences where it has them, each shown beside
// its menu item, and the few commands that had no menu item get one so that their key is seen.
#include <QAbstractSlider>
#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>

#include "Form1.h"
#include "HistoryBar.h"
#include "SlotGrid.h"
#include "ViewerPane.h"

namespace {
// The platform's sequence for a standard key when it has one, else the usual one.
QList<QKeySequence> StandardOr(QKeySequence::StandardKey key, const QKeySequence& usual)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty())
        keys << usual;
    return keys;
}

// Left, Right and Home step the history bar from anywhere in the window, but a focused scroll
// bar or slider (the zoom bar, the pan bars, the grid's bar) keeps them for itself, as it
// always did: it claims them before the window's shortcuts see them.
class SliderKeepsItsKeys : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride && qobject_cast<QAbstractSlider*>(watched)) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End) {
                event->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};
}  // namespace

void Form1::buildKeys()
{
    // Exit and Help work whatever shows, also on a full-screen wall without menus.
    mnuFileItem[0]->setShortcuts(StandardOr(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    addAction(mnuFileItem[0]);
    mnuHelpItem[0]->setShortcuts(StandardOr(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)));
    addAction(mnuHelpItem[0]);

    // Enter and Delete act on the list's entry only while the list has the focus: elsewhere they
    // keep their own meaning.
    const auto onList = [this](QAction* action, const QList<QKeySequence>& keys) {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        List1->addAction(action);
    };
    onList(mnuCamItem[3], {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});  // Start Selected Cam
    onList(mnuCamItem[1], StandardOr(QKeySequence::Delete, QKeySequence(Qt::Key_Delete)));

    // The Viewer's commands, after the items the menus always had.
    mnuSaveImage = mnuCams->addAction(tr("Save Image"), this, [this] { SaveShownPicture(); });
    mnuSaveImage->setObjectName(QStringLiteral("mnuSaveImage"));
    mnuSaveImage->setShortcuts(StandardOr(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
    mnuFetchNow = mnuCams->addAction(tr("Fetch Now"), this, [this] { FetchShownCamNow(); });
    mnuFetchNow->setObjectName(QStringLiteral("mnuFetchNow"));
    mnuFetchNow->setShortcut(QKeySequence(Qt::Key_F5));

    mnuView->addSeparator();
    QList<QKeySequence> zoomIn = StandardOr(QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Plus));
    zoomIn << QKeySequence(Qt::Key_Plus);
    mnuZoomIn = mnuView->addAction(tr("Zoom In"), this, [this] { stepZoom(+1); });
    mnuZoomIn->setObjectName(QStringLiteral("mnuZoomIn"));
    mnuZoomIn->setShortcuts(zoomIn);
    QList<QKeySequence> zoomOut = StandardOr(QKeySequence::ZoomOut, QKeySequence(Qt::CTRL | Qt::Key_Minus));
    zoomOut << QKeySequence(Qt::Key_Minus);
    mnuZoomOut = mnuView->addAction(tr("Zoom Out"), this, [this] { stepZoom(-1); });
    mnuZoomOut->setObjectName(QStringLiteral("mnuZoomOut"));
    mnuZoomOut->setShortcuts(zoomOut);
    mnuZoomFit = mnuView->addAction(tr("Fit"), this, [this] {
        if (!wallShown_)
            frmMain->setFit(true);
    });
    mnuZoomFit->setObjectName(QStringLiteral("mnuZoomFit"));
    mnuZoomFit->setShortcut(QKeySequence(Qt::Key_0));

    mnuView->addSeparator();
    mnuHistoryPrevious = mnuView->addAction(tr("Earlier Picture"), this, [this] {
        if (historyKeysApply())
            frmHistory->cmdPrevious_Click();
    });
    mnuHistoryPrevious->setObjectName(QStringLiteral("mnuHistoryPrevious"));
    mnuHistoryPrevious->setShortcut(QKeySequence(Qt::Key_Left));
    mnuHistoryNext = mnuView->addAction(tr("Later Picture"), this, [this] {
        if (historyKeysApply())
            frmHistory->cmdNext_Click();
    });
    mnuHistoryNext->setObjectName(QStringLiteral("mnuHistoryNext"));
    mnuHistoryNext->setShortcut(QKeySequence(Qt::Key_Right));
    mnuHistoryLive = mnuView->addAction(tr("Live"), this, [this] {
        if (historyKeysApply())
            frmHistory->returnToLive();
    });
    mnuHistoryLive->setObjectName(QStringLiteral("mnuHistoryLive"));
    mnuHistoryLive->setShortcut(QKeySequence(Qt::Key_Home));

    auto* keeper = new SliderKeepsItsKeys(this);
    for (QAbstractSlider* slider : findChildren<QAbstractSlider*>())
        slider->installEventFilter(keeper);
}

bool Form1::viewerShowsCam()
{
    const int shown = slotGrid->cams().selectedSlot();
    return !wallShown_ && !frmMain->isHidden() && shown >= 0 && shown < SlotGrid::kSlotCount &&
        slotGrid->cam(shown).isOpen();
}

bool Form1::historyKeysApply()
{
    return viewerShowsCam();
}

void Form1::SaveShownPicture()
{
    if (!viewerShowsCam()) {
        setStatusText(tr("No cam is shown in the Viewer: click a cam's picture first"));
        return;
    }
    frmMain->cmdSave->click();
}

void Form1::FetchShownCamNow()
{
    if (!viewerShowsCam()) {
        setStatusText(tr("No cam is shown in the Viewer: click a cam's picture first"));
        return;
    }
    slotGrid->cam(slotGrid->cams().selectedSlot()).cmdRefresh_Click();
}

void Form1::stepZoom(int steps)
{
    if (wallShown_)
        return;
    frmMain->stepZoom(steps);
}
