// What the forms of the two particle models share: the picture is the box,
// white within its frame, with a sprite for every particle on a layer over
// it (the frame drawn again over the sprites that reach it); the toolbar's Start / Stop and the Low / High
// temperature pair; the radius and sprites chosen once by the screen's width; and the resize that puts the
// particles back on the grid and lets them settle, keeping the run going if
// it was.  A step repaints only where sprites were and are: a whole frame of
// a large screen would cost several times the step and the sprites together.
// Each form says how it places its particles, how a second of time moves
// them and what the temperature changes.
#pragma once

#include "experiments/chemistry/uParticleModel.h"
#include "runtime/AnimatedForm.h"
#include "runtime/Image32.h"

#include <array>

class QAction;

namespace brv {

class TParticleForm : public TAnimatedForm {
    Q_OBJECT
public:
    explicit TParticleForm(QWidget* parent = nullptr);
    ~TParticleForm() override;

    const TParticleModel& Particles() const { return *box_; }
    bool HighTemperature() const { return high_; }
    // The sprite a particle is drawn with (an index into Bitmap32List).
    int SpriteOf(const TParticle& p) const { return p.Reacted ? reactedSprite_ : unreactedSprite_; }

    // Box := the picture; the particles back on the grid and settled; the
    // run, if one was going, goes on.
    void PicResize() override;

    QAction* LowBtn = nullptr;
    QAction* HighBtn = nullptr;
    TBitmap32List Bitmap32List;
    TPositionedLayer* ParticleLayer = nullptr;

protected:
    struct TTexts {
        QString lowCaption;  // empty: the hint
        QString highCaption;
    };

    // Builds the form around box (owned by the derived form's model): the
    // sprites and radius, the toolbar, the picture, the clock.  lowChecked:
    // LowBtn starts checked.
    void CreateParticleForm(TParticleModel& box, const TTexts& texts, bool lowChecked);
    // Placement, the settling steps without reactions, the particles drawn
    // again.
    void PlaceAndSettle();

    // New positions and velocities on the grid (draws from the generator).
    virtual void Place() = 0;
    // Moves on by seconds of real time.
    virtual void Advance(double seconds) = 0;
    virtual void SetHighTemperature(bool high) = 0;

private:
    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    void ClockProgress(double deltaTime) override;
    // The pixels a particle's sprite covers.
    TRect SpriteRect(const TParticle& p) const;
    // Where every sprite is now, kept for the paints: a paint of many small
    // parts would otherwise round every particle's position for each part.
    void PlaceSprites();
    void PaintParticles(TBitmap32& buffer);
    void TemperatureBtnClick(QAction* sender);

    TParticleModel* box_ = nullptr;
    std::array<TRect, TParticleModel::Count> spriteRects_{};
    bool high_ = false;
    int unreactedSprite_ = 0;
    int reactedSprite_ = 0;
};

}  // namespace brv
