#pragma once
// The dialogs that collect a cam's name, URL and refresh text: Form2 adds a cam, Form3 edits
// one. Both are modeless; the main window's cam commands load them at most once each.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>

#include "CamList.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// Shows a cam list file failure (its message names the file and the reason) with OK only.
void ShowCamListError(const CamListError& error, QWidget* parent);

// The controls and checks that Form2 and Form3 share.
class CamDialog : public QDialog {
    Q_OBJECT
public:
    QLabel* Label1;
    QLineEdit* Text1;  // name
    QLabel* Label2;
    QLineEdit* Text2;  // URL
    QLabel* Label3;
    QLineEdit* Text3;  // refresh, in seconds; typing takes digits only, at most 3 (999 seconds)
    QLabel* Label4;
    QLabel* lblRefreshRule;        // beside "seconds": what the refresh box takes
    QLabel* lblNewPictureRule;     // "New picture:"
    QComboBox* cboNewPictureRule;  // "Use the Options' rule", or one of the rules, for this cam alone
    // "Save this cam's new pictures": AutoSave passes the cam over when it is off (kept in the
    // cam's own settings, not in the cam list file).
    QCheckBox* chkAutoSave;
    // "Record:": whether `tolvane --record` (without --open) records the cam (its own settings).
    QLabel* lblRecord;
    QComboBox* cboRecord;      // not, by the recorder on the schedule for all, between two times, in daylight
    QLabel* lblRecordWhen;     // "When:"
    QLineEdit* txtRecordWhen;  // the two times ("06:00-20:00") or the place ("51.48 -0.01", "civil" may follow)
    // "Stream over:": TCP (inside the RTSP connection) or UDP, for an rtsp:// or rtsps:// address
    // (the row is greyed for any other); kept in the cam's own settings.
    QLabel* lblStreamTransport;
    QComboBox* cboStreamTransport;
    QPushButton* Command1;  // OK
    QPushButton* Command2;  // Cancel

    // The three texts as they stand, not trimmed.
    CamRecord typedRecord() const;

    virtual void Command1_Click() = 0;
    void Command2_Click();

protected:
    CamDialog(const QString& objectName, QListWidget* List1, QWidget* parent);
    // False, after an ":: error" message, when any of the three texts is empty, the refresh
    // text is not 1 to 999 digits-only seconds (keptRefresh, the stored text, passes unchanged
    // when it is a whole number), or the name is listed already and is not ownName.
    bool ValidateTexts(const QString& ownName = QString(), const QString& keptRefresh = QString());
    // The refresh box takes digits only, at most this many (3, or a longer stored text's length).
    void setRefreshDigits(int digits);
    // Lists the file again after a change was written; a failure here is shown but the
    // change stands, so the dialog still closes.
    void ReloadList();
    // The cam's own rule for new pictures: shown from the store, and kept there under the cam's
    // name once the cam list has the cam (a failure is told; the cam stays as written).
    void ShowOwnRule(const QString& cam);
    void KeepOwnRule(const QString& cam);
    // Stores chkAutoSave for the cam written; a failure is shown, the cam stays as written.
    void StoreAutoSave(const QString& cam);
    // The same for cboRecord and txtRecordWhen, shown from the store by ShowRecord; the cam's
    // schedule as typed, or nothing (with a message) when it is none.
    std::optional<QString> TypedSchedule();
    void ShowRecord(const QString& cam);
    void StoreRecord(const QString& cam);
    void ShowStreamTransport(const QString& cam);
    void StoreStreamTransport(const QString& cam);

    QGridLayout* grid_;

private:
    QPointer<QListWidget> List1_;
};

class Form2 : public CamDialog {
    Q_OBJECT
public:
    explicit Form2(QListWidget* List1, QWidget* parent = nullptr);
    void Command1_Click() override;
};

class Form3 : public CamDialog {
    Q_OBJECT
public:
    using UpdateOpenSlots = std::function<void(const QString& oldName, const CamRecord& edited)>;
    Form3(QListWidget* List1, UpdateOpenSlots updateOpenSlots, QWidget* parent = nullptr);

    QLabel* Label5;

    // Looks the entry up and keeps it as the cam being edited, filling the texts with what the
    // file holds; when no entry is found the texts stay empty. Throws CamListError from the lookup.
    void Form_Load(const QString& entry);
    // The cam being edited; an entry cut short by a hand edit comes with empty texts for the
    // lines it lacks, and OK writes the whole record in its place.
    std::optional<CamRecord> camBeingEdited() const;
    const std::optional<CamEntry>& entryBeingEdited() const { return editing_; }
    void Command1_Click() override;

private:
    UpdateOpenSlots updateOpenSlots_;
    std::optional<CamEntry> editing_;
};
