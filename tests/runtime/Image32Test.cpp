#include "runtime/Image32.h"

#include "common/FrameRate.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QRegion>
#include <QThread>

#include <gtest/gtest.h>

namespace brv {
namespace {

class CountingImage : public TImage32 {
public:
    int paints = 0;
    QRegion lastRegion;  // of the last paint

protected:
    void paintEvent(QPaintEvent* e) override
    {
        ++paints;
        lastRegion = e->region();
        TImage32::paintEvent(e);
    }
};

// Lets queued paints happen; true when at least one did.
bool Painted(CountingImage& image)
{
    const int before = image.paints;
    QElapsedTimer waited;
    waited.start();
    do
        QApplication::processEvents();
    while (image.paints == before && waited.elapsed() < 2000);
    return image.paints > before;
}

// Whether the last paint took in the bitmap pixels r (a paint's region is
// in control pixels).
bool LastPaintCovers(const CountingImage& image, const QRect& r)
{
    const qreal ratio = image.PixelRatio();
    QRegion painted;
    for (const QRect& c : image.lastRegion)
        painted += QRectF(QPointF(c.topLeft()) * ratio, QSizeF(c.size()) * ratio).toAlignedRect();
    return (QRegion(r) - painted).isEmpty();
}

bool WaitForPending(TImage32& image)
{
    QElapsedTimer waited;
    waited.start();
    while (!image.Pending().isEmpty() && waited.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return image.Pending().isEmpty();
}

// The picture width × height with its bitmap fitted to it and cleared white.
void FitWhite(TImage32& image, int width, int height)
{
    image.resize(width, height);
    image.FitBitmapToControl();
    image.Bitmap().Clear(clWhite32);
}

void Move(QWidget& w, int x, int y)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(x + 0.5, y + 0.5), w.mapToGlobal(QPointF(x, y)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

TEST(Image32Test, PaintToComposesTheBitmapThenVisibleLayersInCreationOrder)
{
    TImage32 image;
    image.resize(40, 30);
    image.Bitmap().SetSize(30, 20);
    image.Bitmap().Clear(0x80FFFFFF);
    auto fill = [](TRect r, TColor32 c) {
        return [r, c](TPositionedLayer&, TBitmap32& buffer) { buffer.FillRect(r, c); };
    };
    TPositionedLayer& first = image.AddLayer();
    first.OnPaint = fill({5, 5, 15, 15}, 0xFFFF0000);
    TPositionedLayer& second = image.AddLayer();
    second.OnPaint = [](TPositionedLayer& layer, TBitmap32& buffer) {
        // a layer draws where it is
        buffer.FillRect(layer.PixelRect(), 0xFF0000FF);
        buffer.SetClipRect({0, 0, 1, 1});  // left behind: must not bother the next
    };
    second.SetLocation({10.4f, 10.5f, 20.0f, 20.6f});
    EXPECT_EQ(second.PixelRect(), (TRect{10, 10, 20, 21}));
    TPositionedLayer& hidden = image.AddLayer();
    hidden.OnPaint = fill({0, 0, 40, 30}, 0xFF00FF00);
    hidden.SetVisible(false);
    TPositionedLayer& third = image.AddLayer();
    third.OnPaint = fill({0, 25, 3, 28}, 0xFF123456);
    EXPECT_EQ(image.LayerCount(), 4);
    EXPECT_EQ(&image.Layer(1), &second);
    EXPECT_EQ(first.Location(), (TFloatRect{0, 0, 64, 64}));
    EXPECT_TRUE(first.Visible());
    EXPECT_TRUE(first.MouseEvents);

    TBitmap32 shot;
    image.PaintTo(shot);
    ASSERT_EQ(shot.Width(), 40);
    ASSERT_EQ(shot.Height(), 30);
    EXPECT_EQ(shot.Pixel(2, 2), 0xFFFFFFFFu);    // background, made opaque
    EXPECT_EQ(shot.Pixel(6, 6), 0xFFFF0000u);    // first layer
    EXPECT_EQ(shot.Pixel(12, 12), 0xFF0000FFu);  // second over first
    EXPECT_EQ(shot.Pixel(1, 26), 0xFF123456u);   // the last layer still unclipped
    const TColor32 control = image.palette().color(image.backgroundRole()).rgb();
    EXPECT_EQ(shot.Pixel(35, 5), control);  // beyond the bitmap
    EXPECT_EQ(shot.Pixel(20, 25), control);
    EXPECT_EQ(image.Bitmap().Pixel(6, 6), 0x80FFFFFFu);  // the background is untouched
    brv::test::SavePicture(shot.Image(), "image32_layers");
}

TEST(Image32Test, FitBitmapToControlKeepsThePixels)
{
    TImage32 image;
    FitWhite(image, 20, 10);
    image.Bitmap().SetPixel(3, 4, 0xFFFF0000);
    image.resize(30, 15);
    image.FitBitmapToControl();
    EXPECT_EQ(image.Bitmap().Width(), 30);
    EXPECT_EQ(image.Bitmap().Height(), 15);
    EXPECT_EQ(image.Bitmap().Pixel(3, 4), 0xFFFF0000u);
    EXPECT_EQ(image.Bitmap().Pixel(19, 9), clWhite32);
    image.resize(2, 2);
    image.FitBitmapToControl();
    EXPECT_EQ(image.Bitmap().Width(), 2);
}

TEST(Image32Test, ChangesOfBitmapAndLayersRepaintTheControl)
{
    CountingImage image;
    int resized = 0;
    image.OnResize = [&] { ++resized; };
    image.resize(50, 40);
    image.show();
    ASSERT_TRUE(Painted(image));
    EXPECT_GE(resized, 1);
    image.FitBitmapToControl();
    Painted(image);

    image.Bitmap().FillRect(0, 0, 5, 5, 0xFFFF0000);
    EXPECT_TRUE(Painted(image));

    image.Bitmap().BeginUpdate();
    image.Bitmap().FillRect(0, 0, 5, 5, 0xFF00FF00);
    QApplication::processEvents();
    const int during = image.paints;
    image.Bitmap().HorzLine(0, 1, 9, 0xFF0000FF);
    QApplication::processEvents();
    EXPECT_EQ(image.paints, during);
    image.Bitmap().EndUpdate();
    EXPECT_TRUE(Painted(image));

    TPositionedLayer& layer = image.AddLayer();
    Painted(image);
    layer.SetLocation({1, 2, 3, 4});
    EXPECT_TRUE(Painted(image));
    layer.SetVisible(false);
    EXPECT_TRUE(Painted(image));

    resized = 0;
    image.resize(60, 45);
    EXPECT_EQ(resized, 1);
}

TEST(Image32Test, ALayerChangeRepaintsOnlyWhereTheLayerWasAndIs)
{
    TImage32 image;
    FitWhite(image, 100, 80);
    TColor32 colour = 0xFFFF0000;
    TPositionedLayer& layer = image.AddLayer();
    layer.SetLocation({10.5f, 10, 20, 20});
    layer.OnPaint = [&colour](TPositionedLayer& l, TBitmap32& b) { b.FillRect(l.PixelRect(), colour); };
    TBitmap32 shown;
    image.PaintPending(shown);  // a buffer of another size: composed whole
    EXPECT_EQ(shown.Pixel(12, 12), colour);
    EXPECT_TRUE(image.Pending().isEmpty());

    // What lies outside the marked parts is left as the last paint left it.
    shown.FillRect(90, 70, 95, 75, clBlack32);
    layer.SetLocation({40, 30, 50, 40});
    EXPECT_EQ(image.Pending(), QRegion(8, 8, 14, 14) + QRegion(38, 28, 14, 14));
    image.PaintPending(shown);
    EXPECT_EQ(shown.Pixel(12, 12), clWhite32);
    EXPECT_EQ(shown.Pixel(45, 35), colour);
    EXPECT_EQ(shown.Pixel(92, 72), clBlack32);

    colour = 0xFF0000FF;
    layer.Changed();
    EXPECT_EQ(image.Pending(), QRegion(38, 28, 14, 14));
    image.PaintPending(shown);
    EXPECT_EQ(shown.Pixel(45, 35), colour);

    // Marks reach no further than the control; a change of the bitmap marks
    // all of it.
    layer.SetLocation({-30, 70, -10, 200});
    EXPECT_EQ(image.Pending().boundingRect(), QRect(38, 28, 14, 14));
    image.PaintPending(shown);
    image.Bitmap().FillRect(0, 0, 1, 1, clBlack32);
    EXPECT_EQ(image.Pending(), QRegion(0, 0, 100, 80));
    image.PaintPending(shown);
    EXPECT_EQ(shown.Pixel(92, 72), clWhite32);
}

// Paints are paced: at most one a frame, each showing every change since
// the last.  Frames of a quarter of a second here, so that "not yet" holds
// even on a busy machine.
class Image32Pacing : public ::testing::Test {
protected:
    static constexpr qreal kRate = 4;

    void SetUp() override
    {
        SetFrameRate(kRate);
        image.resize(100, 80);
        image.show();
        ASSERT_TRUE(Painted(image));
        image.FitBitmapToControl();
        image.Bitmap().Clear(clWhite32);
        ball.SetLocation({10, 10, 20, 20});
        ball.OnPaint = [](TPositionedLayer& l, TBitmap32& b) { b.FillRect(l.PixelRect(), 0xFFFF0000); };
        label.SetLocation({60, 10, 90, 20});
        label.OnPaint = [this](TPositionedLayer& l, TBitmap32& b) { b.FillRect(l.PixelRect(), labelColour); };
        ASSERT_TRUE(Painted(image));
        Settle();
    }
    void TearDown() override { SetFrameRate(0); }

    // Lets the paints still asked for happen, and a frame go by.
    void Settle()
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 1000 / kRate + 50)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QImage Composed()
    {
        TBitmap32 b;
        image.PaintTo(b);
        return b.Image().copy();
    }

    CountingImage image;
    TPositionedLayer& ball = image.AddLayer();
    TPositionedLayer& label = image.AddLayer();
    TColor32 labelColour = 0xFF0000FF;
};

TEST_F(Image32Pacing, ChangesWithinAFrameArePaintedOnceAndAllOfThemShow)
{
    EXPECT_EQ(image.FrameRate(), kRate);
    // The first change after a quiet frame is painted at once.
    ball.SetLocation({20, 20, 30, 30});
    const int first = image.paints;
    ASSERT_TRUE(Painted(image));
    EXPECT_EQ(image.paints, first + 1);

    // Those that follow within the frame wait for its end, and go together.
    const int before = image.paints;
    ball.SetLocation({30, 30, 40, 40});
    ball.SetLocation({40, 40, 50, 50});
    labelColour = 0xFF00A000;
    label.Changed();
    QApplication::processEvents();
    EXPECT_EQ(image.paints, before);
    EXPECT_FALSE(image.Pending().isEmpty());
    ASSERT_TRUE(Painted(image));
    EXPECT_EQ(image.paints, before + 1);
    EXPECT_TRUE(image.Pending().isEmpty());
    EXPECT_EQ(image.Shown().Image(), Composed());
    EXPECT_TRUE(LastPaintCovers(image, QRect(40, 40, 10, 10)));
    EXPECT_TRUE(LastPaintCovers(image, QRect(20, 20, 10, 10)));  // where the ball was
    EXPECT_TRUE(LastPaintCovers(image, QRect(60, 10, 30, 10)));
}

TEST_F(Image32Pacing, AClockTickingEveryMillisecondPaintsNoMoreOftenThanTheFrames)
{
    SetFrameRate(50);
    QElapsedTimer wall;
    wall.start();
    const int before = image.paints;
    for (int step = 0; wall.elapsed() < 500; ++step) {
        ball.SetLocation({float(step % 80), 10, float(step % 80) + 10, 20});
        QApplication::processEvents();
        QThread::usleep(1000);
    }
    const double frames = wall.elapsed() / 20.0;
    const int paints = image.paints - before;
    EXPECT_LE(paints, frames + 2);
    EXPECT_GE(paints, 3);
    ASSERT_TRUE(WaitForPending(image));
    EXPECT_EQ(image.Shown().Image(), Composed());
}

TEST_F(Image32Pacing, RepaintIsAtOnceWhenTheLastPaintIsAFrameOld)
{
    const int before = image.paints;
    image.Repaint();  // without the event loop
    EXPECT_EQ(image.paints, before + 1);
    image.Repaint();  // within the same frame: at its end
    EXPECT_EQ(image.paints, before + 1);
    ASSERT_TRUE(Painted(image));
    EXPECT_EQ(image.paints, before + 2);

    // Tools and tests that move time on by hand paint when they like.
    ball.SetLocation({50, 50, 60, 60});
    image.PaintNow();
    EXPECT_EQ(image.paints, before + 3);
    EXPECT_TRUE(image.Pending().isEmpty());
    EXPECT_EQ(image.Shown().Image(), Composed());
}

// A paint that the window system asks for, or a grab, composes everything
// marked; the parts it did not put on the screen still reach it at the end
// of the frame.
TEST_F(Image32Pacing, APaintInTheMiddleOfAFrameDoesNotSwallowTheChange)
{
    ball.SetLocation({20, 20, 30, 30});
    ASSERT_TRUE(Painted(image));
    ball.SetLocation({70, 50, 80, 60});  // waits for the frame
    image.grab(QRect(0, 0, 10, 10));
    EXPECT_TRUE(image.Pending().isEmpty());
    const int before = image.paints;
    ASSERT_TRUE(Painted(image));
    EXPECT_EQ(image.paints, before + 1);
    EXPECT_TRUE(LastPaintCovers(image, QRect(70, 50, 10, 10)));
    EXPECT_TRUE(LastPaintCovers(image, QRect(20, 20, 10, 10)));
}

// A layer whose label stands beside its location (a tray's "5 min" below
// its dimple) declares what it paints; moving or changing it then repaints
// the label too, instead of leaving the old one on the screen.
TEST(Image32Test, ALayerThatPaintsOutsideItsLocationRepaintsAllItPaints)
{
    TImage32 image;
    FitWhite(image, 100, 80);
    TColor32 colour = 0xFFFF0000;
    TPositionedLayer& layer = image.AddLayer();
    layer.SetLocation({10, 10, 20, 20});
    // The label: 30 pixels below the location.
    const auto label = [](const TPositionedLayer& l) {
        const TRect r = l.PixelRect();
        return TRect{r.Left, r.Bottom + 30, r.Right, r.Bottom + 36};
    };
    layer.OnPaint = [&](TPositionedLayer& l, TBitmap32& b) { b.FillRect(label(l), colour); };
    TBitmap32 shown;
    image.PaintPending(shown);
    layer.SetLocation({40, 10, 50, 20});
    image.PaintPending(shown);
    EXPECT_EQ(shown.Pixel(15, 52), colour) << "undeclared: the old label stays on the screen";

    layer.SetPaintBounds({40, 10, 50, 56});
    image.PaintPending(shown);
    layer.SetLocation({60, 10, 70, 20});
    layer.SetPaintBounds({60, 10, 70, 56});
    image.PaintPending(shown);
    EXPECT_EQ(shown.Pixel(45, 52), clWhite32) << "declared: the old label is gone";
    EXPECT_EQ(shown.Pixel(65, 52), colour);
    colour = 0xFF0000FF;
    layer.Changed();
    image.PaintPending(shown);
    EXPECT_EQ(shown.Pixel(65, 52), colour);
    layer.SetVisible(false);
    image.PaintPending(shown);
    EXPECT_EQ(shown.Pixel(65, 52), clWhite32);

    layer.SetVisible(true);
    layer.ClearPaintBounds();
    layer.PaintsAnywhere();
    layer.SetLocation({5, 5, 8, 8});
    image.PaintPending(shown);
    EXPECT_EQ(shown.Pixel(65, 52), clWhite32);
    EXPECT_EQ(shown.Pixel(6, 40), colour);
}

// The picture is drawn in the screen's own pixels: on a screen with two
// pixels per point (the suite runs this test again with QT_SCALE_FACTOR=2) a
// bitmap twice the control's size, shown one to one, with the mouse and the
// repaints in its pixels.
TEST(Image32HiDpi, TheBitmapHasTheScreensOwnPixels)
{
    TImage32 image;
    image.setAttribute(Qt::WA_DontShowOnScreen);
    image.resize(100, 80);
    image.show();
    const qreal ratio = image.devicePixelRatioF();
    if (qEnvironmentVariableIsSet("BRV_EXPECT_HIDPI")) {
        ASSERT_EQ(ratio, 2) << "QT_SCALE_FACTOR=2 did not reach the picture";
    }
    image.FitBitmapToControl();
    EXPECT_EQ(image.PixelRatio(), ratio);
    EXPECT_EQ(image.Bitmap().Width(), qRound(100 * ratio));
    EXPECT_EQ(image.Bitmap().Height(), qRound(80 * ratio));

    // One-pixel stripes would blur if the bitmap were stretched.
    TBitmap32& b = image.Bitmap();
    b.Clear(clWhite32);
    for (int x = 0; x < b.Width(); x += 2)
        b.VertLine(x, 0, b.Height() - 1, clBlack32);
    TPositionedLayer& layer = image.AddLayer();
    layer.SetLocation({40, 30, 60, 50});
    layer.OnPaint = [](TPositionedLayer& l, TBitmap32& buffer) {
        buffer.FillRect(l.PixelRect(), 0xFFFF0000);
    };
    TBitmap32 composed;
    image.PaintTo(composed);
    const QImage shown = image.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.size(), QSize(composed.Width(), composed.Height()));
    EXPECT_EQ(shown, composed.Image().convertToFormat(QImage::Format_RGB32));

    // The mouse reports bitmap pixels.
    QPoint down;
    image.OnMouseDown = [&down](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { down = {x, y}; };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10.5, 20.5), image.mapToGlobal(QPointF(10.5, 20.5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&image, &press);
    EXPECT_EQ(down, QPoint(int(10.5 * ratio), int(20.5 * ratio)));

    // A layer marks its own pixels.
    TBitmap32 buffer;
    image.PaintPending(buffer);
    layer.SetLocation({70, 30, 90, 50});
    EXPECT_EQ(image.Pending(), QRegion(38, 28, 24, 24) + QRegion(68, 28, 24, 24));
}

TEST(Image32Test, MouseEventsInControlPixelsAndTheCursorOfTheLayerUnderThePointer)
{
    TImage32 image;
    image.resize(50, 40);
    image.show();
    QApplication::processEvents();

    TPositionedLayer& low = image.AddLayer();
    low.SetLocation({0, 0, 20, 20});
    low.Cursor = Qt::PointingHandCursor;
    TPositionedLayer& deaf = image.AddLayer();
    deaf.SetLocation({10, 10, 30, 30});
    deaf.MouseEvents = false;
    deaf.Cursor = Qt::WaitCursor;
    TPositionedLayer& hidden = image.AddLayer();
    hidden.SetLocation({15, 15, 25, 25});
    hidden.SetVisible(false);
    TPositionedLayer& top = image.AddLayer();
    top.SetLocation({18, 18, 22, 22});
    top.Cursor = Qt::SizeAllCursor;

    EXPECT_EQ(image.LayerAt(12, 12), &low);
    EXPECT_EQ(image.LayerAt(19, 19), &top);
    EXPECT_EQ(image.LayerAt(16, 16), &low);
    EXPECT_EQ(image.LayerAt(25, 25), nullptr);
    EXPECT_EQ(image.LayerAt(20, 5), nullptr);  // right edge is outside

    image.SetBaseCursor(Qt::CrossCursor);
    Move(image, 5, 5);
    EXPECT_EQ(image.cursor().shape(), Qt::PointingHandCursor);
    Move(image, 19, 20);
    EXPECT_EQ(image.cursor().shape(), Qt::SizeAllCursor);
    Move(image, 25, 25);
    EXPECT_EQ(image.cursor().shape(), Qt::CrossCursor);

    std::vector<std::string> seen;
    image.OnMouseDown = [&](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
        seen.push_back("down " + std::to_string(int(b)) + " " + std::to_string(int(m)) + " " +
                       std::to_string(x) + "," + std::to_string(y));
    };
    image.OnMouseMove = [&](Qt::MouseButtons b, Qt::KeyboardModifiers, int x, int y) {
        seen.push_back("move " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    image.OnMouseUp = [&](Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
        seen.push_back("up " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
    };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(7.6, 3.2), image.mapToGlobal(QPointF(7.6, 3.2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(&image, &press);
    QMouseEvent drag(QEvent::MouseMove, QPointF(9.9, 4.0), image.mapToGlobal(QPointF(9.9, 4.0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&image, &drag);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 4), image.mapToGlobal(QPointF(10, 4)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&image, &release);
    const std::vector<std::string> expected = {"down 1 " + std::to_string(int(Qt::ShiftModifier)) + " 7,3",
                                               "move 1 9,4", "up 1 10,4"};
    EXPECT_EQ(seen, expected);

    image.setToolTip("hint");
    EXPECT_EQ(image.toolTip(), "hint");
}

TEST(Image32Test, SpriteListItemsBlend)
{
    TBitmap32List list;
    TBitmap32& a = list.Add();
    list.Add().SetSize(3, 3);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(&list.Bitmap(0), &a);
    EXPECT_EQ(a.DrawMode, TDrawMode::dmBlend);
    EXPECT_EQ(list.Bitmap(1).Width(), 3);
}

}  // namespace
}  // namespace brv
