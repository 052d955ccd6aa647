#pragma once
// The notice window "Oops!": tells the user to select a cam first. A modal box centred on the
// main window, closed with OK, Esc or the close box. Loaded once and shown again when needed.
#include <QDialog>

class QLabel;
class QPushButton;

class Form4 : public QDialog {
    Q_OBJECT
public:
    explicit Form4(QWidget* owner = nullptr);
    QLabel* Label1;
    QPushButton* cmdOK;
};

// The loaded notice window, or null when it is not loaded.
Form4* NoticeWindow();
// Unloads the notice window when it is loaded.
void UnloadNotice();
