// The window-update lock around groups of control changes.
#include <gtest/gtest.h>

#include <QWidget>

#include "LockWind.h"

namespace {

TEST(LockWindowDrawingTest, LocksAndReleases)
{
    QWidget window;
    window.show();
    LockWindowDrawing(&window, true);
    EXPECT_FALSE(window.updatesEnabled());
    LockWindowDrawing(&window, false);
    EXPECT_TRUE(window.updatesEnabled());
    {
        WindowDrawingLock outer(&window);
        EXPECT_FALSE(window.updatesEnabled());
        {
            WindowDrawingLock inner(&window);
        }
        EXPECT_FALSE(window.updatesEnabled());   // the outer lock holds until its own end
    }
    EXPECT_TRUE(window.updatesEnabled());
    LockWindowDrawing(nullptr, true);   // no window: nothing to do
}

TEST(LockWindowDrawingTest, DoesNotLockWhileTheFullWindowViewShows)
{
    QWidget window;
    window.show();
    QWidget form6;
    form6.setObjectName(QStringLiteral("Form6"));
    form6.show();
    LockWindowDrawing(&window, true);
    EXPECT_TRUE(window.updatesEnabled());
    // A lock taken before the view opened is still released.
    form6.hide();
    LockWindowDrawing(&window, true);
    form6.show();
    LockWindowDrawing(&window, false);
    EXPECT_TRUE(window.updatesEnabled());
}

TEST(LockWindowDrawingTest, DoesNotLockAMinimisedWindow)
{
    QWidget window;
    window.showMinimized();
    if (!window.isMinimized())
        GTEST_SKIP() << "this platform does not minimise windows";
    LockWindowDrawing(&window, true);
    EXPECT_TRUE(window.updatesEnabled());
}

}  // namespace
