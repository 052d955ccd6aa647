#include "CamCommands.h"

#include <QListWidget>

#include "CamDialogs.h"
#include "CamListBox.h"
#include "CamSettings.h"
#include "Form4.h"
#include "ProductInfo.h"
#include "Prompt.h"

namespace {
// The entry the commands act on: the current entry when it is selected, otherwise the first
// selected one; null when nothing is selected.
QListWidgetItem* selectedEntry(const QListWidget* list)
{
    if (!list)
        return nullptr;
    if (QListWidgetItem* current = list->currentItem(); current && current->isSelected())
        return current;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

// The selected entry; with none, the notice window "Oops!" is shown instead.
const QListWidgetItem* selectedOrNotice(const QListWidget* list, QWidget* owner)
{
    const QListWidgetItem* entry = selectedEntry(list);
    if (!entry)
        ShowNotice(owner);
    return entry;
}

// The cam's own settings live outside the cam list file and follow its renames and deletes; a
// failure there leaves the cam list as changed and says what is left behind.
void reportCamSettingsProblem(bool done, const QString& what, const QString& reason, QWidget* owner)
{
    if (!done)
        CurrentPrompt().ask(ProductName(), what + QStringLiteral(": ") + reason, PromptButtons::Ok, owner);
}

void bringForward(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

// A closed dialog is unloaded, so the next request starts from its design texts.
template <class Dialog> void unloadWhenClosed(QPointer<Dialog>& slot, Dialog* dialog, QObject* context)
{
    QObject::connect(dialog, &QDialog::finished, context, [&slot, dialog] {
        if (slot == dialog)
            slot = nullptr;
        dialog->deleteLater();
    });
}
}  // namespace

bool IsCamSelected(const QListWidget* list)
{
    return selectedEntry(list) != nullptr;
}

CamCommands::CamCommands(QListWidget* List1, QWidget* mainWindow, CamCommandHooks hooks, QObject* parent)
    : QObject(parent), List1_(List1), mainWindow_(mainWindow), hooks_(std::move(hooks))
{
    if (List1)
        connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
}

CamCommands::~CamCommands()
{
    delete form2_.data();
    delete form3_.data();
}

Form2* CamCommands::form2() const
{
    return form2_.data();
}
Form3* CamCommands::form3() const
{
    return form3_.data();
}

void CamCommands::cmdAdd_Click()
{
    if (form2_) {
        bringForward(form2_);
        return;
    }
    form2_ = new Form2(List1_, mainWindow_);
    unloadWhenClosed(form2_, form2_.data(), this);
    bringForward(form2_);
}

void CamCommands::cmdEdit_Click()
{
    const QListWidgetItem* entry = selectedOrNotice(List1_, mainWindow_);
    if (!entry)
        return;
    // Already editing: keep that cam, its texts and its title, which names the cam whose
    // open slots the edit will update.
    if (form3_) {
        bringForward(form3_);
        return;
    }
    auto* dialog = new Form3(
        List1_,
        [this](const QString& oldName, const CamRecord& edited) {
            if (hooks_.updateOpenSlots)
                hooks_.updateOpenSlots(oldName, edited);
            // Only a cam the file held is renamed; a record the dialog had to add is a new cam.
            const std::optional<CamRecord>& before = form3_ ? form3_->camBeingEdited() : std::nullopt;
            if (!before || before->name == edited.name)
                return;
            QString reason;
            reportCamSettingsProblem(
                RenameCamSettings(before->name, edited.name, &reason),
                QStringLiteral("The cam was renamed, but its own settings stay under \"%1\"").arg(before->name), reason,
                mainWindow_);
            if (hooks_.camRenamed)
                hooks_.camRenamed(before->name, edited.name);
        },
        mainWindow_);
    try {
        dialog->Form_Load(entry->text());
    } catch (const CamListError& error) {
        delete dialog;
        ShowCamListError(error, mainWindow_);
        return;
    }
    dialog->setWindowTitle(entry->text());
    form3_ = dialog;
    unloadWhenClosed(form3_, dialog, this);
    bringForward(dialog);
}

void CamCommands::cmdRemove_Click()
{
    const QListWidgetItem* entry = selectedOrNotice(List1_, mainWindow_);
    if (!entry)
        return;
    const QString name = entry->text();
    auto notFound = [this, &name] {
        CurrentPrompt().ask(
            ProductName(),
            QStringLiteral("The cam \"%1\" was not found in the cam list file, so nothing was deleted.").arg(name),
            PromptButtons::Ok, mainWindow_);
    };
    try {
        const std::optional<CamRecord> record = FindCamRecord(name);
        if (!record) {
            notFound();
            return;
        }
        if (CurrentPrompt().ask(QStringLiteral("Confirm Delete"),
                                QStringLiteral("Are you sure you want to delete ") + record->name + QStringLiteral("?"),
                                PromptButtons::OkCancel, mainWindow_) != PromptAnswer::Ok)
            return;
        if (!RemoveCamRecord(*record)) {
            // The file changed while the question was open.
            notFound();
            return;
        }
        QString reason;
        reportCamSettingsProblem(RemoveCamSettings(record->name, &reason),
                                 QStringLiteral("The cam was deleted, but its own settings could not be removed"),
                                 reason, mainWindow_);
        // Read before the entries are replaced: a failed read leaves the list as it was.
        ReloadCamList(List1_.data());
    } catch (const CamListError& error) {
        ShowCamListError(error, mainWindow_);
    }
}

void CamCommands::List1_DblClick()
{
    if (hooks_.openSelectedCam)
        hooks_.openSelectedCam();
}

void CamCommands::unloadAll()
{
    delete form2_.data();
    delete form3_.data();
    UnloadNotice();
}
