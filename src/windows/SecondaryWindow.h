#pragma once
// Base of the About, Help and web-site windows: a modeless window of its owner that lives
// until it is closed, so a second request finds it loaded and only brings it forward.
#include <QPointer>
#include <QWidget>

class SecondaryWindow : public QWidget {
    Q_OBJECT
public:
    explicit SecondaryWindow(QWidget* owner);

    // Shows the window normal-sized, on top of its siblings, and gives it the focus.
    void bringForward();
    // Shows the window now or, when its owner has not been shown yet (Help at start-up), right
    // after the owner is: a window manager keeps a dialog above its owner only when it has met
    // the owner first.
    void showBesideOwner();
    // Places the window, at its preferred size, over the middle of its owner's window (of the
    // screen without an owner), inside the screen's free area. For use before it is shown.
    void centreOnOwner();
    // True from the moment the window has been closed; the object itself goes a little later.
    bool isUnloaded() const { return unloaded_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool unloaded_ = false;
};

// The window a pointer holds while it is loaded; nullptr once it is closed or gone.
template <typename Window> Window* LoadedWindow(const QPointer<Window>& window)
{
    return window && !window->isUnloaded() ? window.data() : nullptr;
}
