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

// True when at least one entry of the list is selected.
bool IsCamSelected(const QListWidget* list);
// Shows the notice window "Oops!" (loaded once, brought forward when shown again).
void ShowNotice(QWidget* owner = nullptr);

struct CamCommandHooks {
    std::function<void()> openSelectedCam;  // List1_DblClick
    std::function<void(const QString& oldName, const CamRecord& edited)> updateOpenSlots;
    // After an edit that gave a cam of the list another name (its history follows it).
    std::function<void(const QString& oldName, const QString& newName)> camRenamed = {};
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

    Form2* form2() const;  // null until first shown, and again once closed
    Form3* form3() const;
    // Closes the dialogs and the notice window (the main window's unload).
    void unloadAll();

private:
    QPointer<QListWidget> List1_;
    QPointer<QWidget> mainWindow_;
    CamCommandHooks hooks_;
    QPointer<Form2> form2_;
    QPointer<Form3> form3_;
};
