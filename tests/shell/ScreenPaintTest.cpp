// The picture control on a real display: what reaches the screen after a
// run of partial repaints is the whole picture.
#include "runtime/Image32.h"

#include "FrameTestSupport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <gtest/gtest.h>

namespace brv {
namespace {

using frametest::WaitFor;

QImage OnScreen(QWidget& w)
{
    return w.screen()->grabWindow(w.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Composed(TImage32& image)
{
    TBitmap32 b;
    image.PaintTo(b);
    return b.Image().convertToFormat(QImage::Format_RGB32);
}

TEST(ScreenPaint, PartialRepaintsLeaveTheWholePictureOnTheScreen)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "needs a display";
    TImage32 image;
    image.resize(160, 120);
    image.FitBitmapToControl();
    image.Bitmap().Clear(0xFFFFFFE0);
    image.Bitmap().FillRect(0, 60, 160, 62, 0xFF000080);
    TPositionedLayer& ball = image.AddLayer();
    int frame = 0;
    ball.OnPaint = [&frame](TPositionedLayer& l, TBitmap32& b) {
        b.FillRect(l.PixelRect(), frame % 2 == 0 ? 0xFFFF0000 : 0xFF00A000);
    };
    TPositionedLayer& label = image.AddLayer();
    label.SetLocation({100, 10, 150, 30});
    label.OnPaint = [&frame](TPositionedLayer& l, TBitmap32& b) {
        b.Font.Height = 14;
        b.TextOut(l.PixelRect().Left, l.PixelRect().Top, QString::number(frame));
    };
    image.show();
    ASSERT_TRUE(WaitFor([&image] { return image.windowHandle() && image.windowHandle()->isExposed(); }));
    ASSERT_TRUE(WaitFor([&image] { return OnScreen(image) == Composed(image); }, 3000));

    for (frame = 0; frame < 40; ++frame) {
        ball.SetLocation({float(3 * frame), float(2 * frame), float(3 * frame + 12), float(2 * frame + 12)});
        if (frame % 5 == 0)
            label.Changed();
        ASSERT_TRUE(WaitFor([&image] { return image.Pending().isEmpty(); }, 2000));
        // The label shows a stale number between its changes, as it should.
        if (frame % 5 == 0) {
            ASSERT_TRUE(WaitFor([&image] { return OnScreen(image) == Composed(image); }, 2000))
                << "frame " << frame;
        }
    }
}

}  // namespace
}  // namespace brv
