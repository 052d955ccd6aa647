// The window-update lock around groups of control changes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include "LockWind.h"

namespace {

// A control that counts how often it is painted.
class CountingControl : public QWidget {
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

class DrawnWindow : public testing::Test {
protected:
    void SetUp() override
    {
        window.resize(300, 200);
        changed = new CountingControl(&window);
        changed->setGeometry(0, 0, 100, 100);
        untouched = new CountingControl(&window);
        untouched->setGeometry(150, 0, 100, 100);
        window.show();
        Settle();
        changed->paints = 0;
        untouched->paints = 0;
    }
    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    QWidget window;
    CountingControl* changed = nullptr;
    CountingControl* untouched = nullptr;
};

TEST_F(DrawnWindow, NothingIsPaintedWhileLockedAndOnlyTheChangedPartsAfterwards)
{
    LockWindowDrawing(&window, true);
    EXPECT_TRUE(IsWindowDrawingLocked(&window));
    changed->update();
    Settle();
    changed->repaint();  // even a synchronous repaint waits
    EXPECT_EQ(changed->paints, 0);

    LockWindowDrawing(&window, false);
    EXPECT_FALSE(IsWindowDrawingLocked(&window));
    Settle();
    EXPECT_EQ(changed->paints, 1);    // both changes, drawn at once
    EXPECT_EQ(untouched->paints, 0);  // the rest of the window is not redrawn

    changed->update();  // and the window goes on drawing after the release
    Settle();
    EXPECT_EQ(changed->paints, 2);
}

TEST_F(DrawnWindow, AControlsLockHoldsItsWholeWindow)
{
    LockWindowDrawing(changed, true);
    EXPECT_TRUE(IsWindowDrawingLocked(&window));
    untouched->update();
    Settle();
    EXPECT_EQ(untouched->paints, 0);
    LockWindowDrawing(changed, false);
    Settle();
    EXPECT_EQ(untouched->paints, 1);
}

TEST_F(DrawnWindow, ANestedLockLeavesTheOuterOneInForce)
{
    {
        WindowDrawingLock outer(&window);
        {
            WindowDrawingLock inner(&window);
        }
        EXPECT_TRUE(IsWindowDrawingLocked(&window));  // the outer lock holds until its own end
        changed->update();
        Settle();
        EXPECT_EQ(changed->paints, 0);
    }
    EXPECT_FALSE(IsWindowDrawingLocked(&window));
    Settle();
    EXPECT_EQ(changed->paints, 1);
    LockWindowDrawing(nullptr, true);  // no window: nothing to do
    EXPECT_FALSE(IsWindowDrawingLocked(nullptr));
}

TEST_F(DrawnWindow, DoesNotLockWhileTheFullWindowViewShows)
{
    QWidget form6;
    form6.setObjectName(QStringLiteral("Form6"));
    form6.show();
    LockWindowDrawing(&window, true);
    EXPECT_FALSE(IsWindowDrawingLocked(&window));
    // A lock taken before the view opened is still released.
    form6.hide();
    LockWindowDrawing(&window, true);
    form6.show();
    changed->update();
    LockWindowDrawing(&window, false);
    EXPECT_FALSE(IsWindowDrawingLocked(&window));
    Settle();
    EXPECT_EQ(changed->paints, 1);
}

TEST(LockWindowDrawingTest, DoesNotLockAMinimisedWindow)
{
    QWidget window;
    window.showMinimized();
    if (!window.isMinimized())
        GTEST_SKIP() << "this platform does not minimise windows";
    LockWindowDrawing(&window, true);
    EXPECT_FALSE(IsWindowDrawingLocked(&window));
}

}  // namespace
