// The full-window view: opening it from the Viewer, following new pictures, and every way of
// closing it ending screensaver mode and switching the screen saver back on.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Form6.h"
#include "ImageControl.h"
#include "LockWind.h"
#include "ViewerPane.h"

namespace {

QImage Picture(int width, int height, Qt::GlobalColor color = Qt::darkCyan)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void DeleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class Form6Test : public testing::Test {
protected:
    Form6Test()
    {
        pane = std::make_unique<ViewerPane>();
        pane->screenSaverSwitch = [this](bool active) {
            switches.push_back(active);
            return true;
        };
        pane->ShowSlot(Picture(320, 240), ViewerDetails{QStringLiteral("Pier"), QStringLiteral("30"), {}, {}}, 0);
    }

    std::vector<bool> switches;  // every call of the screen-saver switch, in order
    std::unique_ptr<ViewerPane> pane;
};

TEST_F(Form6Test, ScreensaverCommandOpensViewWithViewerPicture)
{
    QSignalSpy modes(pane.get(), &ViewerPane::screensaverModeChanged);
    pane->Command3->click();

    ASSERT_EQ(modes.count(), 1);
    EXPECT_TRUE(modes.at(0).at(0).toBool());
    EXPECT_TRUE(pane->screensaverMode());
    EXPECT_EQ(switches, std::vector<bool>{false});
    Form6* view = pane->fullWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(pane->FullWindowVisible());
    EXPECT_TRUE(view->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(view->Image1->stretch());
    EXPECT_EQ(view->Image1->picture(), pane->imgMain->picture());
    EXPECT_TRUE(view->picrefresh->isHidden());
    EXPECT_EQ(view->Image1->geometry(), FullWindowPictureRect(QSize(320, 240), view->size()));
}

TEST_F(Form6Test, SecondCommandBringsTheOpenViewForward)
{
    pane->Command3_Click();
    Form6* first = pane->fullWindow();
    pane->Command3_Click();
    EXPECT_EQ(pane->fullWindow(), first);
    EXPECT_EQ(switches, std::vector<bool>{false});
}

TEST_F(Form6Test, ThePictureKeepsItsShapeCentredOnBlack)
{
    pane->Command3_Click();
    Form6* view = pane->fullWindow();
    // A 4:3 picture on a 16:9 window: as high as the window, bars left and right.
    view->resize(1600, 900);
    EXPECT_EQ(view->Image1->geometry(), QRect(200, 0, 1200, 900));
    const QImage shown = view->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(1600, 900));
    for (const QPoint bar : {QPoint(0, 450), QPoint(199, 0), QPoint(1400, 899), QPoint(1599, 450)})
        EXPECT_EQ(shown.pixelColor(bar), QColor(Qt::black)) << bar.x() << "," << bar.y();
    for (const QPoint picture : {QPoint(200, 0), QPoint(800, 450), QPoint(1399, 899)})
        EXPECT_EQ(shown.pixelColor(picture), QColor(Qt::darkCyan)) << picture.x() << "," << picture.y();

    // A narrow window: as wide as the window, bars above and below.
    view->resize(300, 170);
    EXPECT_EQ(view->Image1->geometry(), QRect(37, 0, 226, 170));
    view->resize(400, 900);
    EXPECT_EQ(view->Image1->geometry(), QRect(0, 300, 400, 300));

    // A picture of another shape gets bars of its own at once.
    pane->UpdateFullWindow(Picture(160, 90));
    EXPECT_EQ(view->Image1->geometry(), QRect(0, 337, 400, 225));
}

TEST_F(Form6Test, AClickBesideThePictureClosesTheViewToo)
{
    pane->Command3_Click();
    QPointer<Form6> view = pane->fullWindow();
    view->resize(1600, 900);
    ASSERT_FALSE(view->Image1->geometry().contains(QPoint(100, 450)));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(100, 450));
    EXPECT_FALSE(pane->screensaverMode());
    EXPECT_EQ(switches, (std::vector<bool>{false, true}));
}

TEST_F(Form6Test, FollowsNewPicturesOfTheShownSlot)
{
    pane->Command3_Click();
    Form6* view = pane->fullWindow();
    pane->ShowFullWindowRefreshIndicator();
    EXPECT_FALSE(view->picrefresh->isHidden());

    view->resize(800, 450);
    const QImage next = Picture(64, 48, Qt::yellow);
    pane->UpdateFullWindow(next);
    EXPECT_TRUE(view->picrefresh->isHidden());
    EXPECT_TRUE(view->Image1->stretch());
    EXPECT_EQ(view->Image1->picture(), next);
    // Stretched to the window in its own shape, not shown at its own size.
    EXPECT_EQ(view->Image1->geometry(), FullWindowPictureRect(QSize(64, 48), view->size()));
    EXPECT_GT(view->Image1->width(), 64);

    pane->UpdateFullWindow(QImage());  // a load that failed keeps the picture
    EXPECT_EQ(view->Image1->picture(), next);

    // A live stream's frames come many times a second: a fetch that runs meanwhile keeps its
    // indicator until its own picture (or its end) takes it away.
    pane->ShowFullWindowRefreshIndicator();
    const QImage frame = Picture(64, 48, Qt::green);
    pane->ShowLiveFrameInFullWindow(frame);
    EXPECT_FALSE(view->picrefresh->isHidden());
    EXPECT_EQ(view->Image1->picture(), frame);
    pane->UpdateFullWindow(next);
    EXPECT_TRUE(view->picrefresh->isHidden());

    // A fetch that ends without a picture takes the indicator away and leaves the picture.
    pane->ShowFullWindowRefreshIndicator();
    pane->HideFullWindowRefreshIndicator();
    EXPECT_TRUE(view->picrefresh->isHidden());
    EXPECT_EQ(view->Image1->picture(), next);
}

TEST_F(Form6Test, ViewStaysWhenViewerIsHidden)
{
    pane->Command3_Click();
    pane->HideViewer();
    EXPECT_TRUE(pane->FullWindowVisible());
}

TEST_F(Form6Test, DrawingLockIsNotTakenWhileViewShows)
{
    pane->Command3_Click();
    bool frozenDuringZoom = false;
    QObject::connect(pane->HScroll1, &QScrollBar::rangeChanged, pane.get(),
                     [&] { frozenDuringZoom = frozenDuringZoom || IsWindowDrawingLocked(pane.get()); });
    pane->Slider1->setValue(3);
    EXPECT_FALSE(frozenDuringZoom);

    pane->fullWindow()->close();
    pane->Slider1->setValue(4);
    EXPECT_TRUE(frozenDuringZoom);  // the lock is back once the view has gone
}

TEST_F(Form6Test, DestroyingViewerWithViewOpenRestoresScreenSaver)
{
    pane->Command3_Click();
    QPointer<Form6> view = pane->fullWindow();
    pane.reset();
    EXPECT_TRUE(view.isNull());
    EXPECT_EQ(switches, (std::vector<bool>{false, true}));
}

struct CloseCase {
    std::string name;
    std::function<void(Form6*)> close;
};

void PrintTo(const CloseCase& c, std::ostream* os)
{
    *os << c.name;
}

class Form6CloseTest : public Form6Test, public testing::WithParamInterface<CloseCase> { };

TEST_P(Form6CloseTest, EndsScreensaverModeAndRestoresScreenSaver)
{
    pane->Command3_Click();
    QPointer<Form6> view = pane->fullWindow();
    ASSERT_FALSE(view.isNull());
    QSignalSpy modes(pane.get(), &ViewerPane::screensaverModeChanged);

    GetParam().close(view.data());

    ASSERT_EQ(modes.count(), 1);
    EXPECT_FALSE(modes.at(0).at(0).toBool());
    EXPECT_FALSE(pane->screensaverMode());
    EXPECT_FALSE(pane->FullWindowVisible());
    EXPECT_EQ(pane->fullWindow(), nullptr);
    EXPECT_EQ(switches, (std::vector<bool>{false, true}));
    DeleteClosedWindows();
    EXPECT_TRUE(view.isNull());
    EXPECT_EQ(switches.size(), 2u);  // deleting the closed window switches nothing again

    pane->Command3_Click();  // and it opens again afterwards
    EXPECT_TRUE(pane->FullWindowVisible());
    EXPECT_EQ(switches, (std::vector<bool>{false, true, false}));
}

INSTANTIATE_TEST_SUITE_P(Ways, Form6CloseTest,
                         testing::Values(CloseCase{"ClickOnPicture",
                                                   [](Form6* v) { QTest::mouseClick(v->Image1, Qt::LeftButton); }},
                                         CloseCase{"EscapeKey", [](Form6* v) { QTest::keyClick(v, Qt::Key_Escape); }},
                                         CloseCase{"CloseCommand", [](Form6* v) { v->close(); }}),
                         [](const testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

TEST(Form6Alone, OtherKeysDoNotClose)
{
    int switchedOn = 0;
    auto* view = new Form6([&](bool active) {
        switchedOn += active ? 1 : 0;
        return true;
    });
    QPointer<Form6> guard = view;
    view->show();
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(switchedOn, 0);
    view->close();
    EXPECT_EQ(switchedOn, 1);
    DeleteClosedWindows();
    EXPECT_TRUE(guard.isNull());
}

}  // namespace
