#pragma once
// The cam list commands of the main window: add, edit, delete and open by double click, with
// the dialogs Form2 (add), Form3 (edit) and the notice window Form4.
#include <QObject>
#include <QPointer>
#include <functional>

#include "CamList.h"

class QListWidget;
class QWidget;
class Form2;
class Form3;
class Form4;
class frmImport;

// True when at least one entry of the list is selected.
bool IsCamSelected(const QListWidget* list);
// Shows the notice window "Oops!" (loaded once, brought forward when shown again).
void ShowNotice(QWidget* owner = nullptr);

struct CamCommandHooks {
    std::function<void()> openSelectedCam;  // List1_DblClick
    std::function<void(const QString& oldName, const CamRecord& edited)> updateOpenSlots;
    // After an edit that gave a cam of the list another name (its history follows it).
    std::function<void(const QString& oldName, const QString& newName)> camRenamed = {};
    // What Import and Export did, on the status bar.
    std::function<void(const QString&)> statusText = {};
    // How the import dialog shows an address (its password masked); unset, as it stands.
    std::function<QString(const QString&)> shownAddress = {};
};

// The handlers of the cam buttons and menu items; a double click on an entry of List1 runs
// List1_DblClick by itself. File failures are shown in a message box and never lose typed text.
class CamCommands : public QObject {
    Q_OBJECT
public:
    CamCommands(QListWidget* List1, QWidget* mainWindow, CamCommandHooks hooks, QObject* parent = nullptr);
    ~CamCommands() override;

    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdRemove_Click();
    void List1_DblClick();
    // Cams > "Move Up" and "Move Down" (Alt+Up, Alt+Down on the list): the selected cam trades
    // places with the one above or below it, in the file and in the list, and stays selected.
    void cmdMoveUp_Click();
    void cmdMoveDown_Click();
    // Cams > "Import…": asks for a CSV file or a list of addresses, shows what it adds and skips
    // (frmImport), and adds on OK. Cams > "Export…": writes every listed cam to a CSV file.
    void cmdImport_Click();
    void cmdExport_Click();
    // An address dropped on the window: the Add dialog with the address and a name proposed
    // from it.
    void AddCamAt(const QString& address);

    // How Import and Export ask for a file: QFileDialog unless a test installed another. An
    // empty answer does nothing.
    using FileChooser = std::function<QString(QWidget* parent, bool forSaving)>;
    static void SetFileChooser(FileChooser chooser);

    Form2* form2() const;  // null until first shown, and again once closed
    Form3* form3() const;
    frmImport* importDialog() const;  // null while no import is shown
    // Closes the dialogs and the notice window (the main window's unload).
    void unloadAll();

private:
    void MoveSelected(CamListMove move);
    // Adds what the file still adds to the list as it is now (it may have changed meanwhile).
    void Import(const QString& fileName, const QByteArray& bytes);
    void statusText(const QString& text) const;

    QPointer<QListWidget> List1_;
    QPointer<QWidget> mainWindow_;
    CamCommandHooks hooks_;
    QPointer<Form2> form2_;
    QPointer<Form3> form3_;
    QPointer<frmImport> import_;
};
