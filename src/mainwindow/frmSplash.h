#pragma once
// The program's first window: shows the splash picture while its timer counts 75 ticks of
// 2 ms, then loads and shows the main window and hides itself (it stays loaded).
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "StartOptions.h"

class Form1;
class QTimer;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(StartOptions options = {}, QWidget* parent = nullptr);
    ~frmSplash() override;

    void Timer2_Timer();

    QTimer* Timer2 = nullptr;      // 2 ms
    std::int16_t splashTicks = 0;  // +2 per tick; the main window loads at exactly 150

    // Replaces the loading of the main window (tests count the calls).
    void setMainWindowLoader(std::function<void()> loader) { loader_ = std::move(loader); }
    // The main window once the splash has loaded it.
    Form1* mainWindow() const { return mainWindow_.get(); }

Q_SIGNALS:
    void mainWindowShown();

private:
    void loadMainWindow();

    StartOptions options_;
    std::function<void()> loader_;
    std::unique_ptr<Form1> mainWindow_;
};
