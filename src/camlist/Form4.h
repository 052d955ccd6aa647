#pragma once
// The notice window "Oops!": tells the user to select a cam first. No buttons; the window's
// close box closes it. Loaded once and brought forward when shown again.
#include <QWidget>

class QLabel;

class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget* owner = nullptr);
    QLabel* Label1;
};

// The loaded notice window, or null when it is not loaded.
Form4* NoticeWindow();
// Unloads the notice window when it is loaded.
void UnloadNotice();
