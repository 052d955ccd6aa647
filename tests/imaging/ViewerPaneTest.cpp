// The Viewer frame: showing a slot, zooming, panning, the countdown caption and the drawing
// lock around its changes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <string>

#include "ImageControl.h"
#include "LockWind.h"
#include "MaskOverlay.h"
#include "Twips.h"
#include "ViewerPane.h"

namespace {

QImage Picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image;
}

ViewerDetails Details(const QString& refresh = QStringLiteral("30"))
{
    return {QStringLiteral("Harbour"), refresh, QStringLiteral("Tue, 06 Feb 2024 10:00:00 GMT"),
            QStringLiteral("2/6/2024 11:00:01 AM")};
}

class ViewerPaneTest : public testing::Test {
protected:
    ViewerPaneTest()
    {
        pane.screenSaverSwitch = [](bool) { return true; };
    }

    // Twips visible beside the bars, as the zoom sees them.
    float visibleWidth() const
    {
        return pane.twipsGeometry(pane.Picture1).Width - pane.twipsGeometry(pane.VScroll2).Width;
    }
    float visibleHeight() const
    {
        return pane.twipsGeometry(pane.Picture1).Height - pane.twipsGeometry(pane.HScroll1).Height;
    }

    ViewerPane pane;
};

TEST_F(ViewerPaneTest, StartsHiddenAtZoomOne)
{
    EXPECT_TRUE(pane.isHidden());
    EXPECT_TRUE(pane.frmDetails->isHidden());
    EXPECT_EQ(pane.Slider1->value(), 1);
    EXPECT_NE(pane.findChild<QLabel*>(QStringLiteral("lblTime")), nullptr);  // the clock writes here
}

TEST_F(ViewerPaneTest, ShowSlotMeasuresPictureAndFillsCaptions)
{
    pane.ShowSlot(Picture(320, 240), Details(), 12);

    EXPECT_TRUE(pane.isVisible());
    EXPECT_TRUE(pane.frmDetails->isVisible());
    EXPECT_EQ(pane.naturalWidth, 320 * 15);
    EXPECT_EQ(pane.naturalHeight, 240 * 15);
    EXPECT_TRUE(pane.imgMain->stretch());
    EXPECT_EQ(pane.imgMain->size(), QSize(320, 240));
    EXPECT_EQ(pane.lblName->text(), QStringLiteral("Harbour"));
    EXPECT_EQ(pane.lblRefresh->text(), QStringLiteral("30"));
    EXPECT_EQ(pane.lblLastChanged->text(), QStringLiteral("Tue, 06 Feb 2024 10:00:00 GMT"));
    EXPECT_EQ(pane.lblLastRefreshed->text(), QStringLiteral("2/6/2024 11:00:01 AM"));
    EXPECT_EQ(pane.lblNextRefresh->text(), QStringLiteral("18"));
}

TEST_F(ViewerPaneTest, TheStatusLineLiesBelowTheOtherDetailsAndIsPlainText)
{
    pane.ShowSlot(Picture(32, 24), Details(), 0);
    // Its own row under the clock's, inside the details frame: nothing else moves for it.
    EXPECT_EQ(pane.twipsGeometry(pane.labelStatus).Top, pane.twipsGeometry(pane.labelalla).Top + 300);
    EXPECT_EQ(pane.twipsGeometry(pane.lblStatus).Left, pane.twipsGeometry(pane.lblTime).Left);
    EXPECT_LE(pane.twipsGeometry(pane.lblStatus).Top + pane.twipsGeometry(pane.lblStatus).Height,
              pane.twipsGeometry(pane.frmDetails).Height);
    EXPECT_EQ(pane.twipsGeometry(pane.lblTime), (TwipRect{4800, 1740, 3255, 255}));

    const QString longText = QStringLiteral("failing: <b>HTTP 404</b> Not Found, text/html, 162 bytes, and much more "
                                            "than the line can hold");
    pane.setStatusLine(longText);
    EXPECT_EQ(pane.lblStatus->textFormat(), Qt::PlainText);
    EXPECT_TRUE(pane.lblStatus->text().endsWith(QChar(0x2026)));
    EXPECT_TRUE(pane.lblStatus->toolTip().contains(QStringLiteral("&lt;b&gt;HTTP 404&lt;/b&gt;")));
    pane.setStatusLine(QStringLiteral("ok: picture shown"));
    EXPECT_EQ(pane.lblStatus->text(), QStringLiteral("ok: picture shown"));
    EXPECT_EQ(pane.lblStatus->toolTip(), QStringLiteral("ok: picture shown"));
}

TEST_F(ViewerPaneTest, TheClockAndStatusUseTheRoomTheDetailsFrameHas)
{
    pane.ShowSlot(Picture(32, 24), Details(), 0);
    const QString reason = QStringLiteral("failing: abandoned at 35% after 3 s, 30 KB/s: the picture needs about 9 s, "
                                          "longer than the refresh interval of 3 s");
    pane.setStatusLine(reason);
    EXPECT_TRUE(pane.lblStatus->text().endsWith(QChar(0x2026))) << "the design width holds about 35 characters";

    // The frame as wide as the layout makes it on a 1920-pixel screen: the line runs to its
    // right edge and shows the whole reason; nothing moves.
    const TwipRect design = pane.twipsGeometry(pane.frmDetails);
    TwipRect wide = design;
    wide.Width = static_cast<float>(PixelsToTwips(1500));
    pane.setTwipsGeometry(pane.frmDetails, wide);
    EXPECT_EQ(pane.lblStatus->text(), reason);
    for (const QLabel* value : {pane.lblTime, pane.lblStatus}) {
        const TwipRect at = pane.twipsGeometry(value);
        EXPECT_EQ(at.Left, 4800) << value->objectName().toStdString();
        EXPECT_EQ(at.Left + at.Width, wide.Width - 200) << value->objectName().toStdString();
    }
    // The upper rows leave the room beside them to the history bar.
    EXPECT_EQ(pane.twipsGeometry(pane.lblName), (TwipRect{4800, 240, 3255, 255}));
    EXPECT_EQ(pane.lblStatus->toolTip(), reason);

    // Narrower again: shortened from the whole text, and whole once there is room again.
    pane.setTwipsGeometry(pane.frmDetails, design);
    EXPECT_TRUE(pane.lblStatus->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(pane.twipsGeometry(pane.lblStatus).Width, 3255);
    pane.setTwipsGeometry(pane.frmDetails, wide);
    EXPECT_EQ(pane.lblStatus->text(), reason);
    // A frame narrower than designed leaves the values their design width.
    TwipRect narrow = design;
    narrow.Width = 5000;
    pane.setTwipsGeometry(pane.frmDetails, narrow);
    EXPECT_EQ(pane.twipsGeometry(pane.lblTime).Width, 3255);
}

TEST_F(ViewerPaneTest, ThePictureIsClippedByTheViewportsClientArea)
{
    // The bars meet the client area's right and bottom edges, as the layout places them (60
    // twips, both borders, inside the box's outer size): nothing of the picture lies beyond.
    pane.ShowSlot(Picture(800, 600), Details(), 0);
    pane.Slider1->setValue(3);
    const QRect client = pane.Picture1Client->geometry();
    EXPECT_EQ(client, pane.Picture1->rect().adjusted(2, 2, -2, -2));
    EXPECT_EQ(pane.VScroll2->geometry().right(), client.width() - 1);
    EXPECT_EQ(pane.HScroll1->geometry().bottom(), client.height() - 1);

    // Beside the bars, below them and in the corner beyond the small box: no picture.
    const QImage shown = pane.Picture1->grab().toImage();
    const QPoint barsMeet = pane.VScroll2->mapTo(pane.Picture1, QPoint(0, pane.HScroll1->y()));
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (x >= barsMeet.x() || y >= barsMeet.y()) {
                ASSERT_NE(shown.pixelColor(x, y), QColor(Qt::darkCyan)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(shown.pixelColor(barsMeet - QPoint(1, 1)), QColor(Qt::darkCyan));
}

TEST_F(ViewerPaneTest, ShowSlotOfEmptyThumbnailKeepsTenTwips)
{
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    pane.ShowSlot(QImage(), Details(), 0);
    EXPECT_EQ(pane.naturalWidth, 10);
    EXPECT_EQ(pane.naturalHeight, 10);
    EXPECT_FALSE(pane.imgMain->hasPicture());
    EXPECT_FALSE(pane.HScroll1->isEnabled());
    EXPECT_FALSE(pane.VScroll2->isEnabled());
}

TEST_F(ViewerPaneTest, ZoomChangeReappliesZoom)
{
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    EXPECT_FALSE(pane.HScroll1->isEnabled());  // 4800 twips fit the design viewport

    pane.Slider1->setValue(2);
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Width, 9600);
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Height, 7200);
    EXPECT_EQ(pane.imgMain->size(), QSize(640, 480));
    EXPECT_TRUE(pane.HScroll1->isEnabled());
    EXPECT_EQ(pane.HScroll1->maximum(), static_cast<int>(9600 - visibleWidth()));
}

TEST_F(ViewerPaneTest, ZoomStaysWhenAnotherSlotIsShown)
{
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    pane.Slider1->setValue(3);
    pane.ShowSlot(Picture(100, 50), Details(), 0);
    EXPECT_EQ(pane.Slider1->value(), 3);
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Width, 3 * 1500);
}

TEST_F(ViewerPaneTest, PanningMovesPictureByMinusValue)
{
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    pane.Slider1->setValue(4);

    pane.HScroll1->setValue(300);
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Left, -300);
    EXPECT_EQ(pane.imgMain->x(), -300 / 15);
    pane.VScroll2->setValue(2000);
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Top, -2000);
    EXPECT_EQ(pane.imgMain->y(), TwipsToPixels(-2000));

    pane.HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // one arrow click
    EXPECT_EQ(pane.imgMain->x(), -600 / 15);
}

TEST_F(ViewerPaneTest, WidePictureAtZoomFivePansToItsRightEdge)
{
    pane.ShowSlot(Picture(640, 480), Details(), 0);
    pane.Slider1->setValue(5);
    ASSERT_TRUE(pane.HScroll1->isEnabled());
    ASSERT_TRUE(pane.VScroll2->isEnabled());
    EXPECT_EQ(pane.HScroll1->maximum(), static_cast<int>(48000 - visibleWidth()));

    pane.HScroll1->setValue(pane.HScroll1->maximum());
    pane.VScroll2->setValue(pane.VScroll2->maximum());
    const TwipRect image = pane.twipsGeometry(pane.imgMain);
    EXPECT_EQ(image.Left + image.Width, visibleWidth());
    EXPECT_EQ(image.Top + image.Height, visibleHeight());
}

TEST_F(ViewerPaneTest, LoweringZoomClampsBarAndMovesPicture)
{
    pane.ShowSlot(Picture(640, 480), Details(), 0);
    pane.Slider1->setValue(5);
    pane.HScroll1->setValue(pane.HScroll1->maximum());

    pane.Slider1->setValue(2);
    const int newMaximum = static_cast<int>(2 * 9600 - visibleWidth());
    EXPECT_EQ(pane.HScroll1->maximum(), newMaximum);
    EXPECT_EQ(pane.HScroll1->value(), newMaximum);
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Left, -newMaximum);

    pane.Slider1->setValue(1);  // 9600 twips wide: still wider than the visible 8000
    EXPECT_EQ(pane.HScroll1->value(), static_cast<int>(9600 - visibleWidth()));
}

TEST_F(ViewerPaneTest, PictureSitsAtItsBarAfterBarWasDisabled)
{
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    pane.Slider1->setValue(3);
    pane.HScroll1->setValue(900);
    pane.Slider1->setValue(1);  // fits: bar disabled, picture back at the left edge
    EXPECT_FALSE(pane.HScroll1->isEnabled());
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Left, 0);

    pane.Slider1->setValue(3);
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Left, -static_cast<float>(pane.HScroll1->value()));
}

TEST_F(ViewerPaneTest, LayoutGeometryIsKeptInTwipsAndUsedByZoom)
{
    TwipRect viewport = pane.twipsGeometry(pane.Picture1);
    viewport.Width = 5000.4f;
    viewport.Height = 4000.6f;
    pane.setTwipsGeometry(pane.Picture1, viewport);
    EXPECT_EQ(pane.twipsGeometry(pane.Picture1), viewport);
    EXPECT_EQ(pane.Picture1->size(), QSize(TwipsToPixels(5000.4), TwipsToPixels(4000.6)));

    pane.ShowSlot(Picture(640, 480), Details(), 0);
    EXPECT_EQ(pane.HScroll1->maximum(), static_cast<int>(std::nearbyint(9600 - visibleWidth())));
    EXPECT_EQ(pane.VScroll2->maximum(), static_cast<int>(std::nearbyint(7200 - visibleHeight())));
}

TEST_F(ViewerPaneTest, NewPictureKeepsNaturalSizeAndZoom)
{
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    pane.Slider1->setValue(2);
    pane.setPicture(Picture(160, 120));
    EXPECT_EQ(pane.naturalWidth, 4800);
    EXPECT_EQ(pane.imgMain->size(), QSize(640, 480));
    EXPECT_EQ(pane.imgMain->picture().size(), QSize(160, 120));

    pane.setPicture(QImage());  // a load that failed keeps what is shown
    EXPECT_EQ(pane.imgMain->picture().size(), QSize(160, 120));
}

TEST_F(ViewerPaneTest, HiddenViewerFollowsPicturesBeforeAnySlotIsShown)
{
    pane.setPicture(Picture(200, 100));
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Width, 200 * 15);
    EXPECT_EQ(pane.twipsGeometry(pane.imgMain).Height, 100 * 15);
}

TEST_F(ViewerPaneTest, DrawingLockIsReleasedAndRespectsOuterLock)
{
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    EXPECT_FALSE(IsWindowDrawingLocked(&pane));

    LockWindowDrawing(&pane, true);  // a caller's own lock around several changes
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    pane.Slider1->setValue(2);
    EXPECT_TRUE(IsWindowDrawingLocked(&pane));
    LockWindowDrawing(&pane, false);
}

TEST_F(ViewerPaneTest, HideViewerHidesBothFrames)
{
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    pane.HideViewer();
    EXPECT_TRUE(pane.isHidden());
    EXPECT_TRUE(pane.frmDetails->isHidden());
}

TEST_F(ViewerPaneTest, SaveButtonAsksForSave)
{
    QSignalSpy saves(&pane, &ViewerPane::saveRequested);
    pane.cmdSave->click();
    EXPECT_EQ(saves.count(), 1);
}

struct CountdownCase {
    std::string name;
    QString refresh;
    int elapsed;
    QString expected;
};

void PrintTo(const CountdownCase& c, std::ostream* os)
{
    *os << c.name;
}

class NextRefreshTextTest : public testing::TestWithParam<CountdownCase> { };

TEST_P(NextRefreshTextTest, ShortestDecimal)
{
    const CountdownCase& c = GetParam();
    EXPECT_EQ(NextRefreshText(c.refresh, c.elapsed).toStdString(), c.expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Cases, NextRefreshTextTest,
                         testing::Values(CountdownCase{"Counting", "30", 12, "18"},
                                         CountdownCase{"Overdue", "30", 31, "-1"}, CountdownCase{"Due", "30", 30, "0"},
                                         CountdownCase{"Fraction", "30.5", 12, "18.5"},
                                         CountdownCase{"SurroundingBlanks", " 45 ", 5, "40"},
                                         CountdownCase{"NotANumber", "soon", 3, "?"},
                                         CountdownCase{"Empty", "", 0, "?"}, CountdownCase{"Infinite", "inf", 0, "?"},
                                         // A day has 86400 seconds: no exponent form for large numbers.
                                         CountdownCase{"Large", "100000", 0, "100000"},
                                         CountdownCase{"LargeFraction", "1234567.5", 7, "1234560.5"}),
                         [](const testing::TestParamInfo<CountdownCase>& info) { return info.param.name; });

TEST(NextRefreshTextLocaleTest, ReadsTheUsersDecimalCommaAsAnOpenDoes)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString comma = NextRefreshText(QStringLiteral("30,5"), 12);
    const QString point = NextRefreshText(QStringLiteral("30.5"), 12);
    QLocale::setDefault(before);
    EXPECT_EQ(comma, QStringLiteral("18.5"));
    EXPECT_EQ(point, QStringLiteral("18.5"));
}

// The mouse and the keys over the picture, read through the bars, the zoom bar and its label.
// Positions are pixels in the area the picture shows in.
class ViewerMouseTest : public ViewerPaneTest {
protected:
    QPointF global(QPoint inArea) const { return pane.pictureArea()->mapToGlobal(QPointF(inArea)); }
    // Sent to the picture, as the pointer over it would.
    void wheel(QPoint at, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWheelEvent event(pane.imgMain->mapFromGlobal(global(at)), global(at), QPoint(), angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(pane.imgMain, &event);
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held)
    {
        QMouseEvent event(type, pane.imgMain->mapFromGlobal(global(at)), global(at), Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(pane.imgMain, &event);
    }
    // The picture point (in thousandths of its width and height) under an area point, and its place now.
    QPointF pictureAt(QPointF at) const
    {
        const QRectF shown = pane.imgMain->geometry();
        return QPointF((at.x() - shown.x()) / shown.width(), (at.y() - shown.y()) / shown.height()) * 1000;
    }
    QPointF placeOf(QPointF point) const
    {
        const QRectF shown = pane.imgMain->geometry();
        return shown.topLeft() + QPointF(point.x() * shown.width(), point.y() * shown.height()) / 1000;
    }
};

TEST_F(ViewerMouseTest, TheWheelScrollsShiftWheelSidewaysAndDraggingPans)
{
    pane.ShowSlot(Picture(640, 480), Details(), 0);
    pane.Slider1->setValue(3);
    const int notch = QApplication::wheelScrollLines() * 300;  // as many arrow clicks as lines
    wheel({100, 100}, {0, -120});                              // away from you: further down
    EXPECT_EQ(pane.VScroll2->value(), notch);
    EXPECT_EQ(pane.imgMain->pos(), QPoint(0, TwipsToPixels(-notch)));
    wheel({100, 100}, {0, 240});
    EXPECT_EQ(pane.VScroll2->value(), 0);
    wheel({100, 100}, {0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(pane.HScroll1->value(), notch);
    EXPECT_EQ(pane.VScroll2->value(), 0);

    // The picture follows the hand; global positions, as it moves under the pointer.
    EXPECT_EQ(pane.pictureArea()->cursor().shape(), Qt::OpenHandCursor);
    mouse(QEvent::MouseButtonPress, {200, 150}, Qt::LeftButton);
    mouse(QEvent::MouseMove, {230, 110}, Qt::LeftButton);
    EXPECT_EQ(pane.HScroll1->value(), notch - 30 * 15);
    EXPECT_EQ(pane.VScroll2->value(), 40 * 15);
    EXPECT_EQ(pane.imgMain->pos(), QPoint(-(notch / 15 - 30), -40));
    mouse(QEvent::MouseMove, {-5000, 5000}, Qt::LeftButton);  // far past the edges: the bars hold it
    EXPECT_EQ(pane.HScroll1->value(), pane.HScroll1->maximum());
    EXPECT_EQ(pane.VScroll2->value(), 0);
    mouse(QEvent::MouseButtonRelease, {0, 0}, Qt::NoButton);
    mouse(QEvent::MouseMove, {500, 500}, Qt::NoButton);  // no longer held: nothing moves
    EXPECT_EQ(pane.HScroll1->value(), pane.HScroll1->maximum());

    // A picture that fits has nothing to move.
    pane.Slider1->setValue(1);
    pane.ShowSlot(Picture(100, 50), Details(), 0);
    wheel({10, 10}, {0, -120}, Qt::ShiftModifier);
    EXPECT_EQ(pane.imgMain->pos(), QPoint(0, 0));
}

TEST_F(ViewerMouseTest, CtrlWheelAndTheKeysZoomInStepsAboutAPoint)
{
    pane.ShowSlot(Picture(640, 480), Details(), 0);
    pane.Slider1->setValue(2);
    pane.HScroll1->setValue(1500);
    pane.VScroll2->setValue(900);
    EXPECT_EQ(pane.lblZoom->text(), QStringLiteral("2×"));
    for (const QPoint at : {QPoint(200, 150), QPoint(37, 411), QPoint(500, 20)}) {
        const QPointF point = pictureAt(at);
        wheel(at, {0, 120}, Qt::ControlModifier);
        EXPECT_EQ(pane.Slider1->value(), 3);
        EXPECT_EQ(pane.lblZoom->text(), QStringLiteral("3×"));
        EXPECT_NEAR(QLineF(placeOf(point), at).length(), 0, 1.0) << at.x() << "," << at.y();
        wheel(at, {0, -60}, Qt::ControlModifier);  // a fine wheel's half notches make one step
        wheel(at, {0, -60}, Qt::ControlModifier);
        EXPECT_EQ(pane.Slider1->value(), 2);
        EXPECT_NEAR(QLineF(placeOf(point), at).length(), 0, 1.0) << at.x() << "," << at.y();
    }
    wheel({200, 150}, {0, 120 * 9}, Qt::ControlModifier);
    EXPECT_EQ(pane.Slider1->value(), 5);

    // The keys, with the pointer elsewhere, keep the middle of the viewport in place.
    QCursor::setPos(-5000, -5000);
    const QPoint middle(pane.pictureArea()->width() / 2, pane.pictureArea()->height() / 2);
    const QPointF point = pictureAt(middle);
    pane.stepZoom(-1);
    EXPECT_EQ(pane.Slider1->value(), 4);
    EXPECT_NEAR(QLineF(placeOf(point), middle).length(), 0, 1.0);
}

TEST_F(ViewerMouseTest, FitShowsTheWholePictureAndTheBarLeavesIt)
{
    for (const QImage& picture : {Picture(1920, 1080), Picture(100, 50)}) {
        pane.ShowSlot(picture, Details(), 0);
        pane.Slider1->setValue(2);
        pane.HScroll1->setValue(3000);
        pane.cmdFit->click();
        // Inside the area, from its corner, touching it on one side, in the picture's shape.
        const QRect area = pane.pictureArea()->rect();
        const QRect shown = pane.imgMain->geometry();
        EXPECT_TRUE(area.contains(shown)) << shown.width() << "x" << shown.height();
        EXPECT_EQ(shown.topLeft(), QPoint(0, 0));
        EXPECT_TRUE(shown.width() == area.width() || shown.height() == area.height());
        EXPECT_NEAR(double(shown.width()) * picture.height() / picture.width(), shown.height(), 1.0);
        EXPECT_FALSE(pane.HScroll1->isEnabled() || pane.VScroll2->isEnabled());
        EXPECT_EQ(pane.lblZoom->text(), QStringLiteral("Fit"));
        EXPECT_TRUE(pane.cmdFit->isChecked());
        // The bar at the step below the factor, within its range; enlarging is filtered.
        EXPECT_EQ(pane.Slider1->value(), std::clamp(static_cast<int>(pane.zoomFactor()), 1, 5));
        EXPECT_TRUE(pane.imgMain->smoothEnlarging());
    }
    // Zoom out from Fit at 5.3 goes to the highest step; Fit ends.
    pane.stepZoom(-1);
    EXPECT_FALSE(pane.fit());
    EXPECT_FALSE(pane.cmdFit->isChecked());
    EXPECT_EQ(pane.imgMain->width(), 5 * 100);
    // Moving the bar leaves Fit, even a click at its end that cannot move it.
    pane.ShowSlot(Picture(1920, 1080), Details(), 0);
    pane.setFit(true);
    ASSERT_EQ(pane.Slider1->value(), 1);
    pane.Slider1->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_FALSE(pane.fit());
    EXPECT_EQ(pane.lblZoom->text(), QStringLiteral("1×"));
    EXPECT_EQ(pane.imgMain->width(), 1920);
    pane.setFit(true);
    pane.Slider1->setValue(4);
    EXPECT_FALSE(pane.fit());
}

TEST_F(ViewerPaneTest, CountdownShownForOverdueSlot)
{
    pane.ShowSlot(Picture(8, 8), Details(QStringLiteral("30")), 31);
    EXPECT_EQ(pane.lblNextRefresh->text(), QStringLiteral("-1"));
}

}  // namespace

// Mask mode: the toggle sits right of "Zoom:" and moves no control; over the picture a drag adds
// a rectangle in fractions of the picture (whatever the zoom) and a click on one removes it.
TEST_F(ViewerPaneTest, MaskModeDrawsAndRemovesRectanglesInFractionsOfThePicture)
{
    pane.ShowSlot(Picture(320, 240), Details(), 0);
    for (const QWidget* other : pane.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != pane.chkMask && other->isVisible()) {
            EXPECT_FALSE(pane.chkMask->geometry().intersects(other->geometry())) << other->objectName().toStdString();
        }
    }
    EXPECT_FALSE(pane.maskOverlay->isVisible());

    QSignalSpy modes(&pane, &ViewerPane::maskModeChanged);
    QSignalSpy edits(&pane, &ViewerPane::maskEdited);
    pane.setMask({QRectF(0.5, 0.5, 0.25, 0.25)});
    pane.chkMask->setChecked(true);
    ASSERT_EQ(modes.count(), 1);
    ASSERT_TRUE(pane.maskOverlay->isVisible());
    pane.Slider1->setValue(2);  // the picture at twice its size: the overlay goes with it
    ASSERT_EQ(pane.maskOverlay->size(), pane.imgMain->size());
    const QSize shown = pane.imgMain->size();

    // A drag from a quarter to the middle of the picture.
    QWidget* overlay = pane.maskOverlay;
    const QPoint from(shown.width() / 4, shown.height() / 4), to(shown.width() / 2, shown.height() / 2);
    QTest::mousePress(overlay, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), overlay->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     {});
    QCoreApplication::sendEvent(overlay, &move);
    QTest::mouseRelease(overlay, Qt::LeftButton, {}, to);
    ASSERT_EQ(edits.count(), 1);
    const auto drawn = edits.last().at(0).value<QList<QRectF>>();
    ASSERT_EQ(drawn.size(), 2);
    EXPECT_NEAR(drawn[1].x(), 0.25, 0.01);
    EXPECT_NEAR(drawn[1].bottom(), 0.5, 0.01);

    // A click in the first rectangle removes it; a click outside every rectangle does nothing.
    QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(shown.width() * 7 / 10, shown.height() * 7 / 10));
    ASSERT_EQ(edits.count(), 2);
    EXPECT_EQ(edits.last().at(0).value<QList<QRectF>>(), QList<QRectF>{drawn[1]});
    QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(shown.width() - 2, 2));
    EXPECT_EQ(edits.count(), 2);

    pane.chkMask->setChecked(false);
    EXPECT_FALSE(pane.maskOverlay->isVisible());
    EXPECT_EQ(modes.count(), 2);
}
