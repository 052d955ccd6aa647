// The panel grid scrolled by the mouse wheel and by Page Up/Page Down: every step goes through
// the grid's scroll bar, so the grid surface moves as the scroll bar's change handler places it.
#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWheelEvent>

#include "ImageControl.h"
#include "MainWindowFixture.h"
#include "SlotGrid.h"
#include "ViewerSlot.h"

namespace {
// Delivers a wheel turn to target as the window system would: only a spontaneous wheel event
// travels up from the widget under the mouse to the first one that takes it (QTest delivers its
// key events the same way).
void TurnWheel(QWidget* target, QPoint angleDelta)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(target, &wheel);
}
// A vertical turn of angle eighths of a degree: 120 is one notch; negative turns the wheel
// towards the user, which scrolls down.
void TurnWheel(QWidget* target, int angle)
{
    TurnWheel(target, QPoint(0, angle));
}

class GridScrollTest : public MainWindowTest {
protected:
    // A main window on screen with one open cam, so the first panel shows.
    Form1& shownFormWithACam()
    {
        ListCams({QStringLiteral("Harbour")});
        Form1& f = loadedForm();
        f.OpenCamsByName({QStringLiteral("Harbour")});
        f.resize(1000, 700);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        return f;
    }
    void TearDown() override
    {
        if (form)
            form->slotGrid->cmdStopAll_Click();
        MainWindowTest::TearDown();
    }
};

TEST_F(GridScrollTest, WheelOverAPanelMovesTheScrollBarOneSmallChangePerNotch)
{
    Form1& f = shownFormWithACam();
    QWidget* thumbnail = f.slotGrid->slot(0).imgCam;

    TurnWheel(thumbnail, -120);
    EXPECT_EQ(f.VScroll1->value(), 600);
    EXPECT_EQ(f.picWindowInnerTop(), -630);  // the change handler placed the surface
    TurnWheel(thumbnail, -240);              // two notches at once
    EXPECT_EQ(f.VScroll1->value(), 1800);
    TurnWheel(thumbnail, 120);
    EXPECT_EQ(f.VScroll1->value(), 1200);
    EXPECT_EQ(f.picWindowInnerTop(), -1230);

    // A fine wheel's small turns add up to notches; a sideways turn moves nothing.
    TurnWheel(thumbnail, -60);
    EXPECT_EQ(f.VScroll1->value(), 1200);
    TurnWheel(thumbnail, -60);
    EXPECT_EQ(f.VScroll1->value(), 1800);
    QWheelEvent sideways(QPointF(5, 5), thumbnail->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(-120, 0), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(thumbnail, &sideways);
    EXPECT_EQ(f.VScroll1->value(), 1800);

    // The ends hold, and the empty part of the grid scrolls too.
    for (int k = 0; k < 40; ++k)
        TurnWheel(f.picWindowInner, -120);
    EXPECT_EQ(f.VScroll1->value(), f.VScroll1->maximum());
    EXPECT_EQ(f.picWindowInnerTop(), -18030);
    for (int k = 0; k < 40; ++k)
        TurnWheel(f.picWindowInner, 120);
    EXPECT_EQ(f.VScroll1->value(), 0);
    EXPECT_EQ(f.picWindowInnerTop(), -30);

    // Over the scroll bar itself a notch is the same small change.
    TurnWheel(f.VScroll1, -120);
    EXPECT_EQ(f.VScroll1->value(), 600);
}

TEST_F(GridScrollTest, PageKeysMoveTheGridWhileItHasFocus)
{
    Form1& f = shownFormWithACam();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));

    // A click on a panel gives the grid the focus.
    QTest::mouseClick(f.slotGrid->slot(0).imgCam, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), f.picWindowOuter);
    QTest::keyClick(f.picWindowOuter, Qt::Key_PageDown);
    EXPECT_EQ(f.VScroll1->value(), 2000);
    EXPECT_EQ(f.picWindowInnerTop(), -2030);
    QTest::keyClick(f.picWindowOuter, Qt::Key_PageDown);
    EXPECT_EQ(f.VScroll1->value(), 4000);
    QTest::keyClick(f.picWindowOuter, Qt::Key_PageUp);
    EXPECT_EQ(f.VScroll1->value(), 2000);

    // With the focus in the cam list the keys are the list's, and the grid stays.
    f.List1->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), f.List1);
    QTest::keyClick(f.List1, Qt::Key_PageDown);
    EXPECT_EQ(f.VScroll1->value(), 2000);
}
}  // namespace
