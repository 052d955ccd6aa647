#pragma once
// The Help window "Readme/Help": the help file of the program folder, read-only, and the
// per-user choice "Show at Startup".
#include "RtfReader.h"
#include "SecondaryWindow.h"

class QCheckBox;
class QTextEdit;

class Form8 : public SecondaryWindow {
    Q_OBJECT
public:
    explicit Form8(QWidget* owner = nullptr);

    // False when the program folder holds no Help.rtf: the window then stays hidden and the
    // caller does not show it. Rich text that is damaged shows what could be read.
    bool Form_Load();
    // Stores the box's state ("1" ticked, "0" clear) as the per-user "showHelp".
    void Check1_Click();

    // How the help file read: complete, cut off, damaged or not rich text at all.
    RtfStatus helpStatus() const { return helpStatus_; }

private:
    QTextEdit* rtf1;
    QCheckBox* Check1;
    RtfStatus helpStatus_ = RtfStatus::Complete;
};
