// Photosynthesis: the rate of oxygen on its numbers and the lamp's pointer
// rule; the form driven through its time bar, syringe, lamp and reading line
// with real mouse and key events, and read on real pixels.
#include "experiments/biology/uPhotosynthesis.h"

#include "runtime/AddMaths.h"
#include "runtime/ExperimentForm.h"
#include "runtime/Image32.h"
#include "support/AnimatedFormTest.h"
#include "support/FormContract.h"
#include "support/MouseDrive.h"
#include "support/Sampling.h"
#include "support/ScrollBarEvents.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cmath>

namespace brv {
namespace {

const bool kContract = test::RegisterFormTraits([] {
    test::TFormTraits t;
    t.id = ids::Photosynthesis;
    t.name = "Photosynthesis";
    t.spins = {{"tempSE", 0, 50, 20, 64, 96}, {"BiCarbSE", 0, 0.5, 0.1, 64, 96}};
    return t;
}());

using Model = TPhotosynthesisModel;

TEST(PhotosynthesisModel, FactorsOfLightTemperatureAndCarbonDioxide)
{
    EXPECT_FLOAT_EQ(Model::LightIntensity(0), 1.0f);
    EXPECT_NEAR(Model::LightIntensity(68), 0.0672f, 0.0001f);
    EXPECT_NEAR(Model::LightIntensity(25), 0.3705f, 0.0005f) << "the light meter's 37";
    EXPECT_FLOAT_EQ(Model::TemperatureFactor(20), 0.64f);
    EXPECT_NEAR(Model::TemperatureFactor(50), 0.044f, 0.0005f);
    EXPECT_NEAR(Model::TemperatureFactor(50) / Model::TemperatureFactor(20), 0.07f, 0.005f);
    float best = 0, at = 0;
    for (int t = 0; t <= 50; ++t)
        if (Model::TemperatureFactor(float(t)) > best) {
            best = Model::TemperatureFactor(float(t));
            at = float(t);
        }
    EXPECT_NEAR(best, 0.99f, 0.01f);
    EXPECT_EQ(at, 32.0f);
    EXPECT_EQ(Model::CarbonDioxideFactor(0), 0.0f);
    EXPECT_NEAR(Model::CarbonDioxideFactor(0.1f), 0.632f, 0.001f);
    EXPECT_NEAR(Model::CarbonDioxideFactor(0.2f), 1 - std::exp(-4.0f), 0.0001f);
}

TEST(PhotosynthesisModel, OxygenRates)
{
    Model m;
    EXPECT_NEAR(m.OxygenRate(), 0.0051f, 0.00005f);
    EXPECT_NEAR(m.OxygenRate() * 600, 3.1f, 0.05f) << "cm after ten minutes";
    // No bicarbonate, no oxygen, whatever the light or the temperature.
    m.Bicarbonate = 0;
    for (float d : {0.0f, 25.0f, 68.0f})
        for (float t : {0.0f, 32.0f, 50.0f}) {
            m.LampOffset = d;
            m.Temperature = t;
            EXPECT_EQ(m.OxygenRate(), 0.0f);
        }
    // The scatter factor scales the rate.
    Model scattered;
    scattered.RateFactor = 1.1f;
    EXPECT_FLOAT_EQ(scattered.OxygenRate(), 1.1f * Model().OxygenRate());
}

TEST(PhotosynthesisModel, EachPullHasItsOwnScatter)
{
    const test::Sample factors = test::SampleOf(4000, [] { return Model::NewRateFactor(); });
    EXPECT_NEAR(factors.mean, 1.0, 0.01);
    EXPECT_NEAR(factors.sd, 0.1, 0.01);
}

// The lamp follows the pointer within 0..68; after a limit it comes back only
// once the pointer returns past where it was at the last move inside.
TEST(PhotosynthesisModel, TheLampStopsAtItsLimitsAndWaitsForThePointer)
{
    struct Move {
        int x;
        float offset;
        int dragX;
    };
    Model m;  // at 25
    int dragX = 100;
    const float scale = 5;
    for (const Move& step :
         {Move{90, 23, 90}, Move{0, 5, 0}, Move{-30, 0, 0}, Move{-60, 0, 0}, Move{-5, 0, 0}, Move{10, 2, 10},
          Move{400, 68, 10}, Move{300, 68, 10}, Move{350, 68, 10}, Move{5, 67, 5}}) {
        m.DragLamp(step.x, dragX, scale);
        EXPECT_FLOAT_EQ(m.LampOffset, step.offset) << "pointer at " << step.x;
        EXPECT_EQ(dragX, step.dragX) << "pointer at " << step.x;
    }
}

// --- the form -------------------------------------------------------------

class PhotoForm : public test::AnimatedFormTest<TPhotoFrm> {
protected:
    PhotoForm() : AnimatedFormTest(QSize(800, 660)) {}

    float S() const { return form->Scale(); }
    int Px(float units) const { return Round(units * S()); }
    QWidget* Pic() { return form->Pic(); }
    QPointF At(int x, int y) const { return QPointF(x + 0.5, y + 0.5); }
    // Moves the time bar to seconds by keyboard: End, then back.
    void TimeTo(int seconds)
    {
        form->TimeHsb->setValue(seconds - 1);
        test::KeyClick(form->TimeHsb, Qt::Key_Right);
        ASSERT_EQ(form->Time(), seconds);
    }
    void Pull()
    {
        ASSERT_FALSE(form->Pulled());
        form->SyringeBtn->trigger();
        ASSERT_TRUE(form->Pulled());
    }
    void ExpectPushedIn(const char* by)
    {
        SCOPED_TRACE(by);
        EXPECT_FALSE(form->Pulled());
        EXPECT_FALSE(form->SyringeBtn->isChecked());
        EXPECT_EQ(form->PlungerX(), 72.0f);
        EXPECT_FALSE(form->GasColumnLayer->Visible());
        EXPECT_FALSE(form->MagnifiedBubbleLayer->Visible());
        EXPECT_FALSE(form->NoOxygenLayer->Visible());
    }
    // The enlarged bubble's pill: white in its middle row up to its length.
    int PillLength(const QImage& picture) const
    {
        const int y = (Trunc(6 * S()) + Trunc(8 * S())) / 2;
        int x = Px(5) + 2;
        while (x < picture.width() && picture.pixel(x, y) == 0xFFFFFFFFu)
            ++x;
        return x > Px(5) + 2 ? x - Px(5) : 0;
    }
    // The needle passes half way along its length at angle a from its
    // centre: a red pixel there or beside it (the line is antialiased).
    bool NeedleThrough(const QImage& picture, float a) const
    {
        const float cx = 43.5f * S(), cy = (45 + 0.9f * 20) * S(), half = 0.35f * 20 * S();
        const int x = Round(cx + half * std::cos(a)), y = Round(cy - half * std::sin(a));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QRgb c = picture.pixel(x + dx, y + dy);
                if (qRed(c) > 220 && qGreen(c) < 150 && qBlue(c) < 150)
                    return true;
            }
        return false;
    }
};

TEST_F(PhotoForm, EightLayersAndTheReadingLineInTheirPlaces)
{
    ASSERT_EQ(form->Pic()->LayerCount(), 9);
    TPositionedLayer* const order[] = {
        form->LampLayer,      form->BubbleLayer,          form->PlungerLayer,
        form->GasColumnLayer, form->MagnifiedBubbleLayer, form->StopwatchLayer,
        form->NeedleLayer,    form->NoOxygenLayer,        form->ReadingLineLayer};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(&form->Pic()->Layer(i), order[i]) << i;
    const float s = S();
    EXPECT_EQ(form->LampLayer->Location(), (TFloatRect{43 * s, (90 - 12 * 112.0f / 69) * s, 55 * s, 90 * s}));
    EXPECT_EQ(form->StopwatchLayer->Location(), (TFloatRect{65 * s, 50 * s, 85 * s, 65 * s}));
    EXPECT_EQ(form->NeedleLayer->Location(), (TFloatRect{25 * s, 45 * s, 62 * s, 65 * s}));
    // The plunger's thumb plate stands a unit above and below its rod.
    EXPECT_EQ(form->PlungerLayer->Location(), (TFloatRect{72 * s, 26 * s, 92 * s, 34 * s}));
    const TRect plunger = form->PlungerLayer->Footprint();
    EXPECT_LE(plunger.Top, Trunc(25 * s));
    EXPECT_GE(plunger.Bottom, Round(35 * s));
    for (TPositionedLayer* hidden : {form->BubbleLayer, form->GasColumnLayer, form->MagnifiedBubbleLayer,
                                     form->NoOxygenLayer, form->ReadingLineLayer})
        EXPECT_FALSE(hidden->Visible());
    EXPECT_EQ(form->LampLayer->Cursor, Qt::PointingHandCursor);
    EXPECT_EQ(form->PlungerLayer->Cursor, Qt::PointingHandCursor);
    EXPECT_FLOAT_EQ(S(), 0.01f * float(std::min(form->Pic()->width(), form->Pic()->height())));
    test::SavePicture(Picture(), QStringLiteral("photo-start"));
}

TEST_F(PhotoForm, PullingAtTimeZeroSaysThereIsNotEnoughOxygen)
{
    Pull();
    EXPECT_EQ(form->PlungerX(), 79.0f);
    EXPECT_TRUE(form->GasColumnLayer->Visible());
    EXPECT_TRUE(form->MagnifiedBubbleLayer->Visible());
    EXPECT_TRUE(form->NoOxygenLayer->Visible());
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("photo-no-oxygen"));
    // Red text across the middle of the message's strip.
    int red = 0;
    for (int x = Px(20); x < Px(80); ++x)
        for (int y = Px(18); y < Px(21); ++y)
            red += picture.pixel(x, y) == 0xFFFF0000u ? 1 : 0;
    EXPECT_GT(red, 100);
    // The gas column has no width: its two end lines stand at the rule's zero.
    const int y = Trunc(29.5f * S()) + 3;
    EXPECT_EQ(picture.pixel(Px(18), y), 0xFF000000u);
    EXPECT_NE(picture.pixel(Px(18) + 2, y), 0xFFFFFFFFu);

    form->SyringeBtn->trigger();
    ExpectPushedIn("the button again");
}

TEST_F(PhotoForm, TheBubbleIsMeasuredAfterTenMinutes)
{
    TimeTo(600);
    Pull();
    EXPECT_FALSE(form->NoOxygenLayer->Visible());
    const float rate = form->Model().OxygenRate();
    EXPECT_NEAR(rate, 0.0051f, 0.0015f) << "the defaults, scattered by this pull";
    const QImage picture = Picture();
    test::SavePicture(picture, QStringLiteral("photo-10min"));
    const int n = Round(rate * 9.3f * S() * 600);
    EXPECT_NEAR(PillLength(picture), n, 2);
    // Beside the capillary's rule, the column is white from 0 to its length.
    const int column = Round(rate * 5 * S() * 600);
    const int y = Trunc(29.5f * S()) + 3;
    EXPECT_EQ(picture.pixel(Px(18) + column / 2, y), 0xFFFFFFFFu);
    EXPECT_EQ(picture.pixel(Px(18) + column, y), 0xFF000000u);
    EXPECT_NE(picture.pixel(Px(18) + column + 3, y), 0xFFFFFFFFu);

    // Each pull draws a new scatter: the lengths differ from pull to pull.
    std::vector<int> lengths;
    for (int i = 0; i < 6; ++i) {
        form->SyringeBtn->trigger();
        form->SyringeBtn->trigger();
        lengths.push_back(PillLength(Picture()));
    }
    EXPECT_GT(*std::max_element(lengths.begin(), lengths.end()),
              *std::min_element(lengths.begin(), lengths.end()));
}

TEST_F(PhotoForm, WithoutBicarbonateThereIsNeverEnoughOxygen)
{
    form->BiCarbSE->setValue(0);
    form->tempSE->setValue(32);
    TimeTo(600);
    Pull();
    EXPECT_TRUE(form->NoOxygenLayer->Visible());
    EXPECT_EQ(PillLength(Picture()), 0);
}

TEST_F(PhotoForm, EveryChangeThatAltersTheMeasurementPushesTheSyringeBack)
{
    TimeTo(300);
    Pull();
    test::KeyClick(form->TimeHsb, Qt::Key_Right);
    ExpectPushedIn("the time");

    Pull();
    form->tempSE->stepBy(1);
    ExpectPushedIn("the temperature");

    Pull();
    form->BiCarbSE->stepBy(1);
    ExpectPushedIn("the bicarbonate");

    Pull();
    const TRect lamp = form->LampLayer->PixelRect();
    const QPointF grip = At((lamp.Left + lamp.Right) / 2, (lamp.Top + lamp.Bottom) / 2);
    test::MousePress(Pic(), grip);
    test::MouseMove(Pic(), grip + QPointF(-10, 0), Qt::LeftButton);
    test::MouseRelease(Pic(), grip + QPointF(-10, 0));
    ExpectPushedIn("the lamp");

    Pull();
    form->ResetBtn->trigger();
    ExpectPushedIn("reset");
    EXPECT_EQ(form->Time(), 0);
    EXPECT_EQ(form->TimeHsb->value(), 0);
}

TEST_F(PhotoForm, ClickingThePlungerPullsAndPushesIt)
{
    TimeTo(600);
    const auto clickPlunger = [&] {
        const TRect r = form->PlungerLayer->PixelRect();
        test::MouseClick(Pic(), At(r.Left + 3 * Round(S()), (r.Top + r.Bottom) / 2));
    };
    const float g = form->Model().RateFactor;
    clickPlunger();
    EXPECT_TRUE(form->Pulled());
    EXPECT_TRUE(form->SyringeBtn->isChecked());
    EXPECT_NE(form->Model().RateFactor, g);
    EXPECT_EQ(form->PlungerLayer->Location().Left, 79 * S());
    clickPlunger();
    ExpectPushedIn("a second click");
    // The hand pointer shows over the plunger.
    const TRect r = form->PlungerLayer->PixelRect();
    test::MouseMove(Pic(), At(r.Left + 5, (r.Top + r.Bottom) / 2));
    EXPECT_EQ(Pic()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(PhotoForm, DraggingTheLampMovesItAndTheLightMeter)
{
    const auto grip = [&] {
        const TRect lamp = form->LampLayer->PixelRect();
        return At((lamp.Left + lamp.Right) / 2, (lamp.Top + lamp.Bottom) / 2);
    };
    QPointF at = grip();
    test::MouseMove(Pic(), at);
    EXPECT_EQ(Pic()->cursor().shape(), Qt::PointingHandCursor);
    test::MousePress(Pic(), at);
    EXPECT_EQ(form->DragMode(), TPhotoFrm::TDragMode::Lamp);
    const int dx = Px(10);
    test::MouseMove(Pic(), at + QPointF(dx, 0), Qt::LeftButton);
    EXPECT_NEAR(form->Model().LampOffset, 25 + float(dx) / S(), 0.001f);
    // Past the near end: it stops at 0 and waits for the pointer.
    test::MouseMove(Pic(), at + QPointF(-Px(40), 0), Qt::LeftButton);
    EXPECT_EQ(form->Model().LampOffset, 0.0f);
    const QImage nearest = Picture();
    test::SavePicture(nearest, QStringLiteral("photo-lamp-near"));
    EXPECT_TRUE(NeedleThrough(nearest, 0)) << "the needle at 100";
    EXPECT_FALSE(NeedleThrough(nearest, 3.14159265f / 2));
    test::MouseMove(Pic(), at + QPointF(dx - 2, 0), Qt::LeftButton);
    EXPECT_EQ(form->Model().LampOffset, 0.0f) << "the pointer has not come back past it yet";
    test::MouseMove(Pic(), at + QPointF(dx + Px(5), 0), Qt::LeftButton);
    EXPECT_NEAR(form->Model().LampOffset, 5.0f, 0.5f);
    // Past the far end.
    test::MouseMove(Pic(), at + QPointF(Px(200), 0), Qt::LeftButton);
    EXPECT_EQ(form->Model().LampOffset, 68.0f);
    test::MouseRelease(Pic(), at + QPointF(Px(200), 0));
    EXPECT_EQ(form->DragMode(), TPhotoFrm::TDragMode::None);
    const float s = S();
    EXPECT_EQ(form->LampLayer->Location().Left, 86 * s);
    const QImage farthest = Picture();
    test::SavePicture(farthest, QStringLiteral("photo-lamp-far"));
    const float a = 3.14159265f * (1 - form->Model().LightIntensity());
    EXPECT_TRUE(NeedleThrough(farthest, a)) << "the needle at about 7";
    EXPECT_FALSE(NeedleThrough(farthest, 0));
    EXPECT_NEAR(100 * form->Model().LightIntensity(), 7, 0.5);
}

TEST_F(PhotoForm, TheReadingLineFollowsTheButtonAndLeavesNoTrace)
{
    TimeTo(600);
    Pull();
    const QImage before = Picture();
    const int y = Px(13);
    test::MouseMove(Pic(), At(Px(50), y));
    EXPECT_EQ(Pic()->cursor().shape(), Qt::PointingHandCursor) << "a hand over the scale";
    test::MouseMove(Pic(), At(Px(50), Px(40)));
    EXPECT_EQ(Pic()->cursor().shape(), Qt::ArrowCursor);

    test::MousePress(Pic(), At(Px(30), y));
    EXPECT_EQ(form->DragMode(), TPhotoFrm::TDragMode::ReadingLine);
    EXPECT_TRUE(form->ReadingLineLayer->Visible());
    QImage held = Picture();
    EXPECT_EQ(held.pixel(Px(30), Px(15)), 0xFF808080u);
    EXPECT_EQ(held.pixel(Px(30), Px(7)), 0xFF808080u) << "up through the enlarged capillary";
    test::MouseMove(Pic(), At(Px(40), y), Qt::LeftButton);
    held = Picture();
    test::SavePicture(held, QStringLiteral("photo-reading-line"));
    EXPECT_EQ(held.pixel(Px(40), Px(15)), 0xFF808080u);
    EXPECT_NE(held.pixel(Px(30), Px(15)), 0xFF808080u);
    test::MouseRelease(Pic(), At(Px(40), y));
    EXPECT_FALSE(form->ReadingLineLayer->Visible());
    EXPECT_EQ(Picture(), before);
    EXPECT_EQ(ShownPicture(), before);
    EXPECT_TRUE(form->Pulled()) << "reading does not push the syringe";
}

// Moving the time or the lamp paints only the layers that change: the
// background is never drawn again, and the screen still ends up right.
TEST_F(PhotoForm, TimeAndLampRepaintOnlyWhatChanged)
{
    ShownPicture();
    int backgroundChanges = 0;
    TBitmap32& background = form->Pic()->Bitmap();
    const int listener = background.AddChangeListener([&] { ++backgroundChanges; });
    const QRegion whole(QRect(QPoint(0, 0), form->Pic()->PixelSize()));

    test::ScrollBarDrag drag(form->TimeHsb);
    for (int t : {20, 45, 90}) {
        drag.MoveTo(t);
        EXPECT_TRUE(form->BubbleLayer->Visible()) << "bubbles rise while time moves on";
        EXPECT_NE(form->Pic()->Pending(), whole);
        EXPECT_EQ(ShownPicture(), Picture()) << t;
    }
    test::SavePicture(Picture(), QStringLiteral("photo-bubbles"));
    drag.Release();
    EXPECT_FALSE(form->BubbleLayer->Visible());
    EXPECT_EQ(ShownPicture(), Picture());

    const TRect lamp = form->LampLayer->PixelRect();
    const QPointF grip = At((lamp.Left + lamp.Right) / 2, (lamp.Top + lamp.Bottom) / 2);
    test::MousePress(Pic(), grip);
    for (int dx = 3; dx < 60; dx += 7) {
        test::MouseMove(Pic(), grip + QPointF(dx, 0), Qt::LeftButton);
        EXPECT_NE(form->Pic()->Pending(), whole);
        EXPECT_EQ(ShownPicture(), Picture()) << dx;
    }
    test::MouseRelease(Pic(), grip + QPointF(60, 0));
    background.RemoveChangeListener(listener);
    EXPECT_EQ(backgroundChanges, 0);
}

TEST_F(PhotoForm, TheMessageFollowsTheScaleOfTheEnlargedBubble)
{
    // A bubble just long enough at this size...
    form->BiCarbSE->setValue(0.02);
    form->tempSE->setValue(10);
    TimeTo(600);
    Pull();
    const int pixels = Round(form->Model().OxygenRate() * 9.3f * S() * 600);
    SCOPED_TRACE(pixels);
    EXPECT_EQ(form->NoOxygenLayer->Visible(), pixels < 3);
    // ...and the picture never goes below 401 pixels a side.
    form->resize(300, 300);
    QApplication::processEvents();
    EXPECT_GE(form->Pic()->width(), 401);
    EXPECT_GE(form->Pic()->height(), 401);
    const int smaller = Round(form->Model().OxygenRate() * 9.3f * S() * 600);
    EXPECT_EQ(form->NoOxygenLayer->Visible(), smaller < 3);
    form->SyringeBtn->trigger();
    ExpectPushedIn("after a resize");
}

TEST_F(PhotoForm, AFormReplacedDuringADragIsSafe)
{
    auto* doomed = new TPhotoFrm;
    doomed->resize(600, 600);
    doomed->setAttribute(Qt::WA_DontShowOnScreen);
    doomed->show();
    QApplication::processEvents();
    QPointer<TImage32> pic = doomed->Pic();
    const TRect lamp = doomed->LampLayer->PixelRect();
    const QPointF grip = At((lamp.Left + lamp.Right) / 2, (lamp.Top + lamp.Bottom) / 2);
    test::MousePress(pic, grip);
    test::MouseMove(pic, grip + QPointF(5, 0), Qt::LeftButton);
    doomed->hide();
    doomed->deleteLater();
    test::MouseMove(pic, grip + QPointF(10, 0), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(pic.isNull());
    QApplication::processEvents();
}

TEST_F(PhotoForm, LargeButtonsFollowTheScreen)
{
    SetScreenDpiOverride(120);
    form->SetLargeButtons(true);
    EXPECT_EQ(form->tempSE->width(), std::max(120, form->tempSE->sizeHint().width()));
    EXPECT_EQ(form->BiCarbSE->width(), std::max(120, form->BiCarbSE->sizeHint().width()));
    const qreal base = QApplication::font(form->tempLabel).pointSizeF();
    EXPECT_NEAR(form->BiCarbLabel->font().pointSizeF(), 1.5 * base, 0.01);
    form->SetLargeButtons(false);
    EXPECT_EQ(form->tempSE->width(), std::max(80, form->tempSE->sizeHint().width()));
    EXPECT_TRUE(form->SyringeBtn->isCheckable());
    EXPECT_EQ(form->TimeHsb->pageStep(), 1);
    EXPECT_EQ(form->TimeHsb->maximum(), 600);
}

}  // namespace
}  // namespace brv
