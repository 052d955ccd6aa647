#include "CamCommands.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>

#include "CamDialogs.h"
#include "CamImport.h"
#include "CamListBox.h"
#include "CamSettings.h"
#include "Form4.h"
#include "ProductInfo.h"
#include "Prompt.h"
#include "frmImport.h"

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

CamCommands::FileChooser& fileChooser()
{
    static CamCommands::FileChooser chooser;
    return chooser;
}

QString ChooseFile(QWidget* parent, bool forSaving)
{
    if (fileChooser())
        return fileChooser()(parent, forSaving);
    const QString filter = QCoreApplication::translate("CamCommands", "Cam lists (*.csv *.txt);;All files (*)");
    return forSaving ? QFileDialog::getSaveFileName(parent, QCoreApplication::translate("CamCommands", "Export Cams"),
                                                    QStringLiteral("cams.csv"), filter)
                     : QFileDialog::getOpenFileName(parent, QCoreApplication::translate("CamCommands", "Import Cams"),
                                                    QString(), filter);
}

QString Cams(qsizetype count)
{
    return count == 1 ? QCoreApplication::translate("CamCommands", "1 cam")
                      : QCoreApplication::translate("CamCommands", "%1 cams").arg(count);
}

QString Rows(qsizetype count)
{
    return count == 1 ? QCoreApplication::translate("CamCommands", "1 row")
                      : QCoreApplication::translate("CamCommands", "%1 rows").arg(count);
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
    delete import_.data();
}

Form2* CamCommands::form2() const
{
    return form2_.data();
}
Form3* CamCommands::form3() const
{
    return form3_.data();
}
frmImport* CamCommands::importDialog() const
{
    return import_.data();
}

void CamCommands::SetFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

void CamCommands::statusText(const QString& text) const
{
    if (hooks_.statusText)
        hooks_.statusText(text);
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
                tr("The cam was renamed, but its own settings stay under \"%1\"").arg(before->name), reason,
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
        CurrentPrompt().ask(ProductName(),
                            tr("The cam \"%1\" was not found in the cam list file, so nothing was deleted.").arg(name),
                            PromptButtons::Ok, mainWindow_);
    };
    try {
        const std::optional<CamRecord> record = FindCamRecord(name);
        if (!record) {
            notFound();
            return;
        }
        if (CurrentPrompt().ask(tr("Confirm Delete"), tr("Are you sure you want to delete %1?").arg(record->name),
                                PromptButtons::OkCancel, mainWindow_) != PromptAnswer::Ok)
            return;
        if (!RemoveCamRecord(*record)) {
            // The file changed while the question was open.
            notFound();
            return;
        }
        QString reason;
        reportCamSettingsProblem(RemoveCamSettings(record->name, &reason),
                                 tr("The cam was deleted, but its own settings could not be removed"), reason,
                                 mainWindow_);
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

void CamCommands::cmdMoveUp_Click()
{
    MoveSelected(CamListMove::Up);
}

void CamCommands::cmdMoveDown_Click()
{
    MoveSelected(CamListMove::Down);
}

void CamCommands::MoveSelected(CamListMove move)
{
    const QListWidgetItem* entry = selectedOrNotice(List1_, mainWindow_);
    if (!entry)
        return;
    const int row = List1_->row(entry);
    const int to = move == CamListMove::Up ? row - 1 : row + 1;
    if (to < 0 || to >= List1_->count())
        return;  // first or last already
    const QString name = entry->text();
    try {
        const bool moved = MoveListedCam(row, name, move);
        // Read before the entries are replaced: a failed read leaves the list as it was.
        ReloadCamList(List1_.data());
        if (!moved) {
            CurrentPrompt().ask(ProductName(),
                                tr("The cam list file has changed since it was listed, so \"%1\" was not "
                                   "moved. The list now shows the file as it is.")
                                    .arg(name),
                                PromptButtons::Ok, mainWindow_);
            return;
        }
    } catch (const CamListError& error) {
        ShowCamListError(error, mainWindow_);
        return;
    }
    if (QListWidgetItem* movedEntry = List1_->item(to)) {
        List1_->setCurrentItem(movedEntry);
        movedEntry->setSelected(true);
        List1_->scrollToItem(movedEntry);
    }
}

void CamCommands::AddCamAt(const QString& address)
{
    QStringList listed;
    for (int row = 0; List1_ && row < List1_->count(); ++row)
        listed << List1_->item(row)->text();
    cmdAdd_Click();
    form2_->Text1->setText(ProposedCamName(address, listed));
    form2_->Text2->setText(address);
}

void CamCommands::cmdImport_Click()
{
    if (import_) {
        bringForward(import_);
        return;
    }
    const QString fileName = ChooseFile(mainWindow_, false);
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        statusText(tr("Could not read %1: %2").arg(fileName, file.errorString()));
        return;
    }
    const QByteArray bytes = file.readAll();
    ImportPlan plan;
    try {
        QStringList listed;
        ReloadCamList(listed);
        plan = PlanCamImport(bytes, listed, ReadCamRecords());
    } catch (const CamListError& error) {
        ShowCamListError(error, mainWindow_);
        return;
    }
    import_ = new frmImport(fileName, plan, hooks_.shownAddress, mainWindow_);
    import_->setWindowModality(Qt::WindowModal);
    connect(import_.data(), &QDialog::accepted, this, [this, fileName, bytes] { Import(fileName, bytes); });
    unloadWhenClosed(import_, import_.data(), this);
    bringForward(import_);
}

void CamCommands::Import(const QString& fileName, const QByteArray& bytes)
{
    try {
        QStringList listed;
        ReloadCamList(listed);
        const ImportPlan plan = PlanCamImport(bytes, listed, ReadCamRecords());
        QList<CamRecord> records;
        for (const ImportRow& row : plan.toAdd)
            records << row.record;
        AppendCamRecords(records);
        ReloadCamList(List1_.data());
        statusText(tr("Imported from %1: %2 added, %3 skipped")
                       .arg(fileName, Cams(records.size()), Rows(plan.skipped.size())));
    } catch (const CamListError& error) {
        ShowCamListError(error, mainWindow_);
    }
}

void CamCommands::cmdExport_Click()
{
    const QString fileName = ChooseFile(mainWindow_, true);
    if (fileName.isEmpty())
        return;
    try {
        QStringList notWhole;
        const QList<CamRecord> records = ReadCamRecords(&notWhole);
        WriteCamListCsv(fileName, records);
        QString text = tr("Exported %1 to %2").arg(Cams(records.size()), fileName);
        if (!notWhole.isEmpty())
            text += tr("; not exported, their entries in the cam list file are not whole: %1")
                        .arg(notWhole.join(QStringLiteral(", ")));
        statusText(text);
    } catch (const CamListError& error) {
        ShowCamListError(error, mainWindow_);
    }
}

void CamCommands::unloadAll()
{
    delete form2_.data();
    delete form3_.data();
    delete import_.data();
    UnloadNotice();
}
