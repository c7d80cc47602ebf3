#include "runtime/DataMod.h"

#include "support/TestSupport.h"

#include <QAction>
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace brv {
namespace {

QImage ImageOf(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

int CountPixels(const QImage& image, const std::function<bool(int x, int y, QRgb)>& match)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (match(x, y, image.pixel(x, y)))
                ++n;
    return n;
}

bool IsBorder(const QImage& image, int x, int y)
{
    return x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
}

// Mean difference of two equally sized images over all four channels, 0–255.
double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * a.width() * a.height());
}

enum class Hue { None, Red, Orange, Green, Blue };

Hue HueOf(QRgb pixel)
{
    const QColor c = QColor::fromRgba(pixel);
    if (qAlpha(pixel) < 128 || c.hsvSaturation() < 110 || c.value() < 60)
        return Hue::None;
    const int h = c.hsvHue();
    if (h < 15 || h >= 340)
        return Hue::Red;
    if (h < 45)
        return Hue::Orange;
    if (h >= 70 && h < 150)
        return Hue::Green;
    if (h >= 190 && h < 250)
        return Hue::Blue;
    return Hue::None;
}

// The hue most of the strongly coloured pixels have, if they cover at least a
// twenty-fifth of the picture.
Hue DominantHue(const QImage& image)
{
    Hue best = Hue::None;
    int bestCount = image.width() * image.height() / 25;
    for (Hue hue : {Hue::Red, Hue::Orange, Hue::Green, Hue::Blue}) {
        const int n = CountPixels(image, [hue](int, int, QRgb p) { return HueOf(p) == hue; });
        if (n > bestCount) {
            best = hue;
            bestCount = n;
        }
    }
    return best;
}

// Every list side by side on a light toolbar grey, at their own sizes.
QImage ContactSheet(const std::vector<const TImageList*>& lists)
{
    int width = 0;
    int height = 8;
    for (const TImageList* list : lists) {
        width = std::max(width, 8 + list->Count() * (list->Size() + 8));
        height += list->Size() + 8;
    }
    QImage sheet(width, height, QImage::Format_ARGB32);
    sheet.fill(QColor(239, 239, 239));
    QPainter painter(&sheet);
    int y = 8;
    for (const TImageList* list : lists) {
        for (int i = 0; i < list->Count(); ++i)
            painter.drawPixmap(8 + i * (list->Size() + 8), y, list->Pixmap(i));
        y += list->Size() + 8;
    }
    return sheet;
}

TEST(DataModTest, ListsHoldTheirCountOfPicturesAtTheirSize)
{
    const TDataMod& dm = TDataMod::Instance();
    const qreal screenRatio = QGuiApplication::primaryScreen()->devicePixelRatio();
    struct Case {
        const TImageList& list;
        int size;
        int count;
    };
    for (const Case& c :
         {Case{dm.Buttons24(), 24, 21}, Case{dm.Buttons48(), 48, 19}, Case{dm.SplitPictures(), 16, 3}}) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(c.list.Size(), c.size);
        ASSERT_EQ(c.list.Count(), c.count);
        for (int i = 0; i < c.count; ++i) {
            const QPixmap pixmap = c.list.Pixmap(i);
            EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(c.size, c.size)) << i;
            EXPECT_NEAR(pixmap.devicePixelRatio(), screenRatio, 0.05) << i;
            EXPECT_FALSE(c.list.Icon(i).isNull()) << i;
        }
    }
    EXPECT_EQ(&dm.Buttons(false), &dm.Buttons24());
    EXPECT_EQ(&dm.Buttons(true), &dm.Buttons48());
}

TEST(DataModTest, IndexOutsideTheListGivesNoPicture)
{
    const TDataMod& dm = TDataMod::Instance();
    for (int i : {-1, 21, 1000}) {
        EXPECT_TRUE(dm.Buttons24().Pixmap(i).isNull()) << i;
        EXPECT_TRUE(dm.Buttons24().Icon(i).isNull()) << i;
    }
    for (int i : {-1, int(biMagnifier), int(biPrinter)}) {
        EXPECT_TRUE(dm.Buttons48().Pixmap(i).isNull()) << i;
        EXPECT_TRUE(dm.Buttons48().Icon(i).isNull()) << i;
    }
    EXPECT_FALSE(dm.Buttons24().Pixmap(biPrinter).isNull());
    EXPECT_FALSE(dm.Buttons48().Pixmap(biHighTemperature).isNull());
}

TEST(DataModTest, EveryButtonPictureIsDrawnInsideAMostlyClearBorder)
{
    const TDataMod& dm = TDataMod::Instance();
    for (const TImageList* list : {&dm.Buttons24(), &dm.Buttons48()}) {
        for (int i = 0; i < list->Count(); ++i) {
            SCOPED_TRACE(testing::Message() << "size " << list->Size() << " picture " << i);
            const QImage image = ImageOf(list->Pixmap(i));
            const int pixels = image.width() * image.height();
            const int border = 4 * (image.width() - 1);
            const int clearBorder = CountPixels(
                image, [&](int x, int y, QRgb p) { return IsBorder(image, x, y) && qAlpha(p) < 64; });
            const int solid = CountPixels(image, [](int, int, QRgb p) { return qAlpha(p) >= 192; });
            EXPECT_GT(clearBorder, border / 2);
            EXPECT_GT(solid, pixels / 8);
        }
    }
    brv::test::SavePicture(ContactSheet({&dm.Buttons24(), &dm.Buttons48(), &dm.SplitPictures()}),
                           QStringLiteral("DataMod-contact-sheet"));
}

// Catches a picture listed twice or the two sizes listed in different orders.
TEST(DataModTest, PicturesAreDistinctAndEachLargeOneMatchesItsSmallOne)
{
    const TDataMod& dm = TDataMod::Instance();
    std::vector<QImage> small;
    for (int i = 0; i < dm.Buttons24().Count(); ++i)
        small.push_back(ImageOf(dm.Buttons24().Pixmap(i)));
    for (size_t i = 0; i < small.size(); ++i)
        for (size_t j = i + 1; j < small.size(); ++j)
            EXPECT_GT(MeanDifference(small[i], small[j]), 3.0) << i << " and " << j;

    for (int i = 0; i < dm.Buttons48().Count(); ++i) {
        const QImage reduced = ImageOf(dm.Buttons48().Pixmap(i))
                                   .scaled(small[0].size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                   .convertToFormat(QImage::Format_ARGB32);
        const double own = MeanDifference(reduced, small[size_t(i)]);
        for (size_t j = 0; j < small.size(); ++j) {
            if (int(j) == i)
                continue;
            EXPECT_LT(own, MeanDifference(reduced, small[j])) << i << " resembles " << j;
        }
    }
}

TEST(DataModTest, PicturesShowTheirSubjectsColours)
{
    const TImageList list(24, kSmallButtonCount, 1.0);
    const struct {
        int index;
        Hue hue;
    } cases[] = {
        {biIndex, Hue::Red},       {biBack, Hue::Green},          {biForward, Hue::Green},
        {biStop, Hue::Red},        {biStart, Hue::Green},         {biReset, Hue::Blue},
        {biAddNails, Hue::Orange}, {biSurface, Hue::Orange},      {biInsulate, Hue::Blue},
        {biSyringe, Hue::Blue},    {biLowTemperature, Hue::Blue}, {biHighTemperature, Hue::Red},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DominantHue(ImageOf(list.Pixmap(c.index))), c.hue) << c.index;
    for (int i : {int(biIndexOptions), int(biCountNails), int(biPrinter)})
        EXPECT_EQ(DominantHue(ImageOf(list.Pixmap(i))), Hue::None) << i;

    // Back and forward are one picture, mirrored.
    const QImage back = ImageOf(list.Pixmap(biBack));
    const QImage forward = ImageOf(list.Pixmap(biForward));
    EXPECT_LT(MeanDifference(back.mirrored(true, false), forward), 2.0);
    EXPECT_GT(MeanDifference(back, forward), 3.0);
}

TEST(DataModTest, HighDpiPicturesAreDrawnAtTheScreensPixels)
{
    const TImageList sharp(24, kLargeButtonCount, 2.0);
    const TImageList large(48, kLargeButtonCount, 1.0);
    ASSERT_EQ(sharp.Count(), large.Count());
    for (int i = 0; i < sharp.Count(); ++i) {
        const QPixmap pixmap = sharp.Pixmap(i);
        EXPECT_EQ(pixmap.size(), QSize(48, 48)) << i;
        EXPECT_EQ(pixmap.devicePixelRatio(), 2.0) << i;
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(24, 24)) << i;
        EXPECT_LT(MeanDifference(ImageOf(pixmap), ImageOf(large.Pixmap(i))), 0.5) << i;
    }
}

TEST(DataModTest, SplitIconsPointTheArrowIntoThePaneThatGivesWay)
{
    const auto redPixels = [](int which, bool rightHalf) {
        const QImage image = SplitIcon(which).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        return CountPixels(image, [&image, rightHalf](int x, int, QRgb p) {
            return (x >= image.width() / 2) == rightHalf && HueOf(p) == Hue::Red;
        });
    };
    EXPECT_GT(redPixels(siMaxLeft, true), 10);
    EXPECT_EQ(redPixels(siMaxLeft, false), 0);
    EXPECT_GT(redPixels(siMaxRight, false), 10);
    EXPECT_EQ(redPixels(siMaxRight, true), 0);
    EXPECT_EQ(redPixels(siNormal, false) + redPixels(siNormal, true), 0);
    EXPECT_TRUE(SplitIcon(-1).isNull());
    EXPECT_TRUE(SplitIcon(3).isNull());
}

class ApplyImageListTest : public testing::Test {
protected:
    ApplyImageListTest()
    {
        start = toolbar.addAction(QStringLiteral("Start"));
        start->setProperty(kImageIndexProperty, int(biStart));
        plain = toolbar.addAction(ownIcon, QStringLiteral("Plain"));
        named = toolbar.addAction(ownIcon, QStringLiteral("Named"));
        named->setProperty(kImageIndexProperty, QStringLiteral("start"));
        printer = toolbar.addAction(QStringLiteral("Print"));
        printer->setProperty(kImageIndexProperty, int(biPrinter));
        dropDown = new QToolButton;
        dropDown->setPopupMode(QToolButton::InstantPopup);
        QAction* item = toolbar.addWidget(dropDown);
        item->setProperty(kImageIndexProperty, int(biFontSize));
    }

    static bool Shows(const QIcon& icon, const TImageList& list, int index)
    {
        const QSize size(list.Size(), list.Size());
        return !icon.isNull() && ImageOf(icon.pixmap(size)) == ImageOf(list.Pixmap(index));
    }

    QToolBar toolbar;
    QIcon ownIcon{TDataMod::Instance().Buttons24().Pixmap(biIndex)};
    QAction* start = nullptr;
    QAction* plain = nullptr;
    QAction* named = nullptr;
    QAction* printer = nullptr;
    QToolButton* dropDown = nullptr;
};

TEST_F(ApplyImageListTest, LargeListSizesTheToolbarAndLeavesMissingPicturesEmpty)
{
    const TImageList& large = TDataMod::Instance().Buttons48();
    ApplyImageList(&toolbar, large);

    EXPECT_EQ(toolbar.iconSize(), QSize(48, 48));
    EXPECT_TRUE(Shows(start->icon(), large, biStart));
    EXPECT_EQ(plain->icon().cacheKey(), ownIcon.cacheKey());
    EXPECT_EQ(named->icon().cacheKey(), ownIcon.cacheKey());
    EXPECT_TRUE(printer->icon().isNull());
    EXPECT_TRUE(Shows(dropDown->icon(), large, biFontSize));
    EXPECT_EQ(dropDown->iconSize(), QSize(48, 48));

    toolbar.show();
    const QImage button = toolbar.widgetForAction(start)->grab().toImage();
    EXPECT_GE(button.width(), 48);
    EXPECT_GT(CountPixels(button, [](int, int, QRgb p) { return HueOf(p) == Hue::Green; }), 200);
}

TEST_F(ApplyImageListTest, SwitchingBackToSmallRestoresEveryPicture)
{
    const TImageList& small = TDataMod::Instance().Buttons24();
    ApplyImageList(&toolbar, TDataMod::Instance().Buttons48());
    ApplyImageList(&toolbar, small);

    EXPECT_EQ(toolbar.iconSize(), QSize(24, 24));
    EXPECT_TRUE(Shows(start->icon(), small, biStart));
    EXPECT_TRUE(Shows(printer->icon(), small, biPrinter));
    EXPECT_TRUE(Shows(dropDown->icon(), small, biFontSize));
    EXPECT_EQ(dropDown->iconSize(), QSize(24, 24));
    EXPECT_EQ(plain->icon().cacheKey(), ownIcon.cacheKey());
}

}  // namespace
}  // namespace brv
