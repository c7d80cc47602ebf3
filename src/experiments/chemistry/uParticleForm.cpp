#include "experiments/chemistry/uParticleForm.h"

#include "common/CadencerEx.h"
#include "experiments/chemistry/ParticleSprites.h"
#include "experiments/chemistry/uParticleFormStrings.h"
#include "runtime/AddMaths.h"
#include "runtime/DataMod.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>

#include <algorithm>
#include <array>

namespace brv {

namespace {

// Screens this wide or narrower get the small particles.
constexpr int kNarrowScreen = 800;
constexpr float kLargeRadius = 12;
constexpr float kSmallRadius = 8;
constexpr int kMinRunButtonHeight = 30;

}  // namespace

TParticleForm::TParticleForm(QWidget* parent) : TAnimatedForm(parent) {}

TParticleForm::~TParticleForm() = default;

void TParticleForm::CreateParticleForm(TParticleModel& box, const TTexts& texts, bool lowChecked)
{
    box_ = &box;
    AddParticleSprites(Bitmap32List);
    const bool wide = ScreenPixelWidth() > kNarrowScreen;
    box_->Radius = wide ? kLargeRadius : kSmallRadius;
    unreactedSprite_ = wide ? psRedLarge : psRedSmall;
    reactedSprite_ = wide ? psBlueLarge : psBlueSmall;

    CreateRunToolbar(str::sParticleStartHint(), str::sParticleStopHint(), str::sParticleResetHint());
    for (QAction* a : {Buttons.StartBtn, Buttons.StopBtn})
        if (QWidget* button = toolbar_->widgetForAction(a))
            button->setMinimumHeight(kMinRunButtonHeight);
    toolbar_->addSeparator()->setObjectName(QStringLiteral("TBXSeparatorItem1"));
    LowBtn = AddToolbarButton(toolbar_, QStringLiteral("LowBtn"), biLowTemperature, str::sParticleLowHint(),
                              texts.lowCaption);
    HighBtn = AddToolbarButton(toolbar_, QStringLiteral("HighBtn"), biHighTemperature,
                               str::sParticleHighHint(), texts.highCaption);
    auto* group = new QActionGroup(this);
    for (QAction* a : {LowBtn, HighBtn}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    LowBtn->setChecked(lowChecked);
    connect(group, &QActionGroup::triggered, this, &TParticleForm::TemperatureBtnClick);
    // Only the pictures follow the button size.
    SetLargeItems({}, TLargeRule{100, 100, false, true});

    CreateClock(0);
    CreatePic();
    LayOutPicture({});
    ParticleLayer = &Pic_->AddLayer();
    ParticleLayer->MouseEvents = false;
    ParticleLayer->OnPaint = [this](TPositionedLayer&, TBitmap32& buffer) { PaintParticles(buffer); };
    Place();
}

void TParticleForm::PlaceAndSettle()
{
    Place();
    box_->Settle();
    PlaceSprites();
    ParticleLayer->Changed();
}

void TParticleForm::PicResize()
{
    const bool running = Clock->Enabled();
    Clock->SetEnabled(false);
    Pic_->FitBitmapToControl();
    const TBitmap32& b = Pic_->Bitmap();
    box_->Walls = {0, 0, float(b.Width()), float(b.Height())};
    ParticleLayer->SetLocation({0, 0, float(b.Width()), float(b.Height())});
    PlaceAndSettle();
    RedrawBackground();
    Clock->SetEnabled(running);
}

float TParticleForm::ComputeScale(int, int)
{
    // The box is the picture itself, in pixels.
    return 1;
}

void TParticleForm::DrawBackground(TBitmap32&)
{
    // White within the frame: the particles are on their layer.
}

TRect TParticleForm::SpriteRect(const TParticle& p) const
{
    const int r = Round(box_->Radius);
    const int x = Round(p.X), y = Round(p.Y);
    return {x - r, y - r, x + r, y + r};
}

void TParticleForm::PlaceSprites()
{
    for (std::size_t i = 0; i < spriteRects_.size(); ++i)
        spriteRects_[i] = SpriteRect(box_->Particles[i]);
}

void TParticleForm::PaintParticles(TBitmap32& buffer)
{
    const TRect clip = buffer.ClipRect();
    for (std::size_t i = 0; i < spriteRects_.size(); ++i) {
        const TRect& r = spriteRects_[i];
        if (r.Right > clip.Left && r.Left < clip.Right && r.Bottom > clip.Top && r.Top < clip.Bottom)
            Bitmap32List.Bitmap(SpriteOf(box_->Particles[i])).DrawTo(buffer, r.Left, r.Top);
    }
    // A sprite against the wall covers part of the frame: the frame is drawn
    // last, as round a picture drawn whole.
    const TBitmap32& b = Pic_->Bitmap();
    buffer.FrameRect(0, 0, b.Width(), b.Height(), clBorder32);
}

void TParticleForm::ClockProgress(double deltaTime)
{
    // A tick that brings no time moves nothing, so it exchanges and reacts
    // nothing either: a step of zero would still swap the velocities of
    // particles that the last step left touching.
    if (!(deltaTime > 0))
        return;
    std::array<bool, TParticleModel::Count> reacted{};
    for (std::size_t i = 0; i < reacted.size(); ++i)
        reacted[i] = box_->Particles[i].Reacted;
    Advance(deltaTime);
    for (std::size_t i = 0; i < spriteRects_.size(); ++i) {
        const TRect from = spriteRects_[i];
        const TRect to = SpriteRect(box_->Particles[i]);
        if (from == to && reacted[i] == box_->Particles[i].Reacted)
            continue;
        spriteRects_[i] = to;
        // A sprite moves a few pixels a step: one rectangle round where it
        // was and is keeps the region to repaint simple.
        Pic_->Invalidate({std::min(from.Left, to.Left), std::min(from.Top, to.Top),
                          std::max(from.Right, to.Right), std::max(from.Bottom, to.Bottom)});
    }
}

void TParticleForm::TemperatureBtnClick(QAction* sender)
{
    const bool high = sender == HighBtn;
    if (high == high_)
        return;
    high_ = high;
    SetHighTemperature(high);
}

}  // namespace brv
