#pragma once
// The Help window "Readme/Help": the help file of the program folder, read-only, and the
// per-user choice "Show at Startup". It stays above the main window, as its dialogs do.
#include "RtfReader.h"
#include "SecondaryWindow.h"
#include "Translations.h"

class QCheckBox;
class QTextEdit;

// The help file to show: the program folder's (a user's own help), else the one the install put
// into share/tolvane beside executableFolder's bin folder, else the copy built into the program.
// In each place the translation Help.LL.rtf of language ("de") comes before Help.rtf. Empty only
// when none of them exists.
QString HelpFilePath(const QString& executableFolder, const QString& language = ShownLanguage());
// Where the built-in copy is looked for; the empty text restores the program's resource. Tests
// point it at a missing file to see a program without any help file.
void SetBuiltInHelpFile(const QString& path);

class Form8 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form8(QWidget* owner = nullptr);

    // Loads the help file HelpFilePath() finds; false when there is none (the window then stays
    // hidden and the caller does not show it). Rich text that is damaged shows what could be read.
    bool Form_Load();
    // Stores the box's state ("1" ticked, "0" clear) as the per-user "showHelp".
    void Check1_Click();

    // How the help file read: complete, cut off, damaged or not rich text at all.
    RtfStatus helpStatus() const { return helpStatus_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void KeepAboveOwner();

    QTextEdit* rtf1;
    QCheckBox* Check1;
    RtfStatus helpStatus_ = RtfStatus::Complete;
};
