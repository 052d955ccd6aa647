// The cam list's commands beyond the original ones: the order of the list, Import and Export,
// the context menus of a list entry and of an open cam (panel or wall tile), and drops of cam
// addresses on the window. Every menu item runs the command the buttons and menus run.
#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>

#include "CamCommands.h"
#include "CamImport.h"
#include "CamUrl.h"
#include "Form1.h"
#include "SecondaryWindows.h"
#include "SlotGrid.h"
#include "WallView.h"

namespace {
QAction* NamedAction(QMenu* menu, const char* name, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    return action;
}

// The two address items every context menu ends with; the address is read when chosen.
void AddAddressItems(Form1* window, QMenu* menu, const std::function<QString()>& address)
{
    menu->addSeparator();
    QAction* copy = NamedAction(menu, "ctxCopyAddress", QCoreApplication::translate("Form1", "Copy Address"));
    copy->setToolTip(QCoreApplication::translate("Form1", "Hold Shift to copy the address with its password"));
    QObject::connect(copy, &QAction::triggered, window, [window, address] {
        // Shift is read as the item is chosen: a click or Enter in the menu.
        const bool shift = QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
        if (const QString text = address(); !text.isEmpty())
            window->CopyCamAddress(text, shift);
    });
    QAction* open =
        NamedAction(menu, "ctxOpenAddress", QCoreApplication::translate("Form1", "Open Address in Browser"));
    QObject::connect(open, &QAction::triggered, window, [window, address] {
        if (const QString text = address(); !text.isEmpty())
            window->OpenCamAddressInBrowser(text);
    });
    menu->setToolTipsVisible(true);
}

// A menu of its own for each right click, gone once it closes.
void Popup(QMenu* menu, const QPoint& globalPos)
{
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}
}  // namespace

void Form1::buildCamListCommands()
{
    // After every item the Cams menu had, so that none of them moves.
    mnuCams->addSeparator();
    mnuMoveUp = mnuCams->addAction(tr("Move Up"), camCommands, &CamCommands::cmdMoveUp_Click);
    mnuMoveUp->setObjectName(QStringLiteral("mnuMoveUp"));
    mnuMoveDown = mnuCams->addAction(tr("Move Down"), camCommands, &CamCommands::cmdMoveDown_Click);
    mnuMoveDown->setObjectName(QStringLiteral("mnuMoveDown"));
    // On the list only, as Enter and Delete: elsewhere Alt+arrows keep their meaning.
    for (QAction* move : {mnuMoveUp, mnuMoveDown}) {
        move->setShortcutContext(Qt::WidgetShortcut);
        List1->addAction(move);
    }
    mnuMoveUp->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    mnuMoveDown->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    mnuCams->addSeparator();
    mnuImport = mnuCams->addAction(tr("Import…"), camCommands, &CamCommands::cmdImport_Click);
    mnuImport->setObjectName(QStringLiteral("mnuImport"));
    mnuExport = mnuCams->addAction(tr("Export…"), camCommands, &CamCommands::cmdExport_Click);
    mnuExport->setObjectName(QStringLiteral("mnuExport"));

    List1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(List1, &QListWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (const QListWidgetItem* entry = List1->itemAt(pos))
            Popup(camListMenu(List1->row(entry)), List1->viewport()->mapToGlobal(pos));
    });
    const auto showSlotMenu = [this](int index, const QPoint& globalPos) {
        if (QMenu* menu = slotMenu(index))
            Popup(menu, globalPos);
    };
    connect(slotGrid, &SlotGrid::contextMenuRequested, this, showSlotMenu);
    connect(wall, &WallView::tileContextMenuRequested, this, showSlotMenu);

    // Anywhere on the window: the list, the panels, the Viewer, the wall.
    setAcceptDrops(true);
}

QMenu* Form1::camListMenu(int row)
{
    QListWidgetItem* entry = List1->item(row);
    if (!entry)
        return nullptr;
    // The commands act on the selected entry: the one right-clicked.
    List1->setCurrentItem(entry);
    entry->setSelected(true);
    const QString name = entry->text();
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("camListMenu"));
    connect(NamedAction(menu, "ctxOpen", tr("Open")), &QAction::triggered, camCommands, &CamCommands::List1_DblClick);
    connect(NamedAction(menu, "ctxEdit", tr("Edit")), &QAction::triggered, camCommands, &CamCommands::cmdEdit_Click);
    connect(NamedAction(menu, "ctxDelete", tr("Delete")), &QAction::triggered, camCommands,
            &CamCommands::cmdRemove_Click);
    AddAddressItems(this, menu, [this, name] { return listedCamAddress(name); });
    return menu;
}

QMenu* Form1::slotMenu(int index)
{
    if (index < 0 || index >= SlotGrid::kSlotCount || !slotGrid->cam(index).isOpen())
        return nullptr;
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("slotMenu"));
    connect(NamedAction(menu, "ctxShowInViewer", tr("Show in Viewer")), &QAction::triggered, this, [this, index] {
        if (wallShown_)
            setWallShown(false);
        slotGrid->imgCam_Click(index);
    });
    connect(NamedAction(menu, "ctxStop", tr("Stop")), &QAction::triggered, slotGrid,
            [this, index] { slotGrid->cmdStop_Click(index); });
    connect(NamedAction(menu, "ctxFetchNow", tr("Fetch Now")), &QAction::triggered, slotGrid,
            [this, index] { slotGrid->cam(index).cmdRefresh_Click(); });
    connect(NamedAction(menu, "ctxSaveImage", tr("Save Image")), &QAction::triggered, slotGrid,
            [this, index] { slotGrid->SaveSlotPicture(index); });
    connect(NamedAction(menu, "ctxEdit", tr("Edit")), &QAction::triggered, this, [this, index] {
        // Edit works on the list's entry of the cam, as the Edit button does.
        const QString name = slotGrid->slotTexts(index).name;
        if (List1->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
            setStatusText(tr("%1 is no longer in the cam list").arg(name));
            return;
        }
        SelectListEntry(name);
        camCommands->cmdEdit_Click();
    });
    AddAddressItems(this, menu, [this, index] {
        // The address the panel fetches (an edit not yet restarted shows the new one).
        return slotGrid->cam(index).isOpen() ? slotGrid->cam(index).address() : QString();
    });
    return menu;
}

QString Form1::listedCamAddress(const QString& name)
{
    try {
        if (const std::optional<CamEntry> entry = FindCamEntry(name); entry && entry->lineCount > 1)
            return entry->record.url;
        setStatusText(tr("%1 has no address in the cam list file").arg(name));
    } catch (const CamListError& error) {
        setStatusText(error.message());
    }
    return {};
}

void Form1::CopyCamAddress(const QString& address, bool withPassword)
{
    QGuiApplication::clipboard()->setText(withPassword ? address : MaskAddressPassword(address));
}

void Form1::OpenCamAddressInBrowser(const QString& address)
{
    OpenAddress(AddressWithoutUserPart(address));
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    // Files too: dropped, they are told why they add nothing.
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText())
        event->acceptProposedAction();
}

void Form1::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls() || event->mimeData()->hasText())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    DropCamAddress(event->mimeData());
}

void Form1::DropCamAddress(const QMimeData* data)
{
    const DroppedAddress dropped =
        ReadDroppedAddress(data->data(QStringLiteral("text/uri-list")), data->hasText() ? data->text() : QString());
    switch (dropped.kind) {
    case DroppedAddress::Kind::CamAddress:
        if (wallShown_)
            setWallShown(false);  // the dialog belongs to the window the user sees
        camCommands->AddCamAt(dropped.text);
        break;
    case DroppedAddress::Kind::LocalFile:
        setStatusText(tr("%1 is a file on this computer, not a cam: a cam needs a web address "
                         "(http, https, rtsp), so nothing was added")
                          .arg(dropped.text));
        break;
    case DroppedAddress::Kind::Nothing:
        setStatusText(tr("What was dropped is not a cam address (http, https, rtsp), so nothing was added"));
        break;
    }
}
