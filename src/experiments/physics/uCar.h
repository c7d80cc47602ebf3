// The car stopping-distance experiment: a toy car rolls down a ramp and
// coasts along the floor.  An overview shows the whole track; a close-up
// follows the car with a height scale and, near the foot of the ramp, a
// distance scale, and red cross-hairs help read them.
#pragma once

#include "experiments/physics/uCarModel.h"
#include "runtime/AnimatedForm.h"
#include "runtime/Bitmap32.h"
#include "runtime/Catalogue.h"

#include <array>
#include <memory>

class QLabel;
class QScrollBar;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Car = 20;
}  // namespace ids

class TPointerTrap;
class TPositionedLayer;

class TCarFrm : public TAnimatedForm {
    Q_OBJECT
public:
    explicit TCarFrm(QWidget* parent = nullptr);
    ~TCarFrm() override;

    const TCarModel& Model() const { return car_; }
    float ZoomScale() const { return ZoomScale_; }
    // The close-up window in picture pixels (right and bottom exclusive).
    TRect CloseUpRect() const;
    bool CrossHeld() const { return CrossHeld_; }
    TPoint Cross() const { return {CrossX, CrossY}; }
    bool PointerTrapped() const;

    // Components, named as the toolbar and the picture know them.
    QLabel* RampLabel = nullptr;
    QSpinBox* RampSE = nullptr;
    QScrollBar* CarHsb = nullptr;
    TPositionedLayer* CrossLayer = nullptr;

private:
    // A point of the car drawing, in car units: x forwards, y upwards, the
    // origin on the ground under the rear wheel.
    struct TCarPoint {
        float x, y;
    };

    void FormCreate();
    void createToolbar();
    float ComputeScale(int width, int height) override;
    void PlaceLayers() override;
    void DrawBackground(TBitmap32& b) override;
    bool StartRun() override;
    void ResetRun() override;
    void StateChanged(TRunState state) override;
    void ClockProgress(double deltaTime) override;
    void CarHsbScroll(int position);
    void PicMouseDown(int x, int y);
    void PicMouseMove(int x, int y);
    void PicMouseUp();
    void endCrossHairs();

    int RampAngle() const;
    float StartPos() const;
    void DrawFloorScale(TBitmap32& b);
    void DrawCloseUp(TBitmap32& b, float height);
    void DrawCloseUpGround(TBitmap32& b, const TRect& window);
    int DrawHeightScale(TBitmap32& b, const TRect& window, float height);
    void DrawDistanceScale(TBitmap32& b, const TRect& window, int top);
    void DrawCar(TBitmap32& b, float x, float y, float size, float tilt, bool showCentre);
    void PaintCrossHairs(TPositionedLayer& layer, TBitmap32& buffer);

    TCarModel car_;
    float ZoomScale_ = 16;
    int LastCarPixel = 0;
    int CrossX = 0, CrossY = 0;
    bool CrossHeld_ = false;
    std::unique_ptr<TPointerTrap> trap_;
    static const std::array<TCarPoint, 29> CarShape;
    static const std::array<TCarPoint, 4> ChassisShape;
};

}  // namespace brv
