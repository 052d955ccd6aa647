#pragma once
// The window-update lock: routines that change several controls at once freeze the main
// window's drawing around the change, so the changes appear together when it is released.
//
// While the lock is in force nothing of the window is painted, not even by a synchronous
// repaint, but every change is still recorded; the release paints exactly the parts that
// changed, once. (Switching the window's updates off instead would drop those changes and make
// every release repaint the whole window: once per fetched picture, that cost more than
// decoding the picture.)
class QWidget;

// Suspends (lock true) or resumes (lock false) drawing of the window. Locking does nothing
// while the full-window view (the top-level window named "Form6") is visible or the window is
// minimised. Releasing always lifts a lock that is in force, so a window can never stay frozen
// because the full-window view opened in between.
void LockWindowDrawing(QWidget* window, bool lock);
// True while a lock holds the window's drawing.
bool IsWindowDrawingLocked(const QWidget* window);

// Locks drawing for the life of a scope, so every return path (and an exception) unlocks.
// Inside a lock already in force it does nothing, so the outer holder keeps its lock to the end.
class WindowDrawingLock {
public:
    explicit WindowDrawingLock(QWidget* window);
    ~WindowDrawingLock() { LockWindowDrawing(window_, false); }
    WindowDrawingLock(const WindowDrawingLock&) = delete;
    WindowDrawingLock& operator=(const WindowDrawingLock&) = delete;

private:
    QWidget* window_;  // null when this guard took no lock
};
