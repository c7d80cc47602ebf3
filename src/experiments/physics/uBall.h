// The bouncing-ball experiment: a ball dropped beside a metre rule, with a
// magnifying window that reads the height of each bounce to the millimetre.
#pragma once

#include "experiments/physics/uBallModel.h"
#include "runtime/AnimatedForm.h"
#include "runtime/Catalogue.h"
#include "runtime/Polygon32.h"

#include <memory>

class QLabel;
class QScrollBar;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Ball = 1;
}  // namespace ids

class TImage32;
class TNGLCadencer;
class TPositionedLayer;

class TBallFrm : public TAnimatedForm {
    Q_OBJECT
public:
    explicit TBallFrm(QWidget* parent = nullptr);

    const TBallModel& Model() const { return ball_; }

    // Components, named as the toolbar and the picture know them.
    QLabel* BounceLabel = nullptr;
    QSpinBox* BounceSE = nullptr;
    QLabel* TempLabel = nullptr;
    QSpinBox* TemperatureSE = nullptr;
    QScrollBar* BallHsb = nullptr;
    TPositionedLayer* BallLayer = nullptr;
    TPositionedLayer* ZoomLayer = nullptr;
    TPositionedLayer* MarkerLayer = nullptr;

private:
    void FormCreate();
    void createToolbar();
    void createLayers();
    float ComputeScale(int width, int height) override;
    void PlaceLayers() override;
    void DrawBackground(TBitmap32& b) override;
    TButtonStates ButtonsIn(TRunState state) const override;
    void ResetRun() override;
    void StateChanged(TRunState state) override;
    void ClockProgress(double deltaTime) override;
    void BallHsbScroll(int position);
    void TemperatureSEValueChange(int value);
    void PicMouseDown(int x, int y);
    void PicMouseMove(int x, int y);
    void PicMouseUp();

    void PlaceBall();
    void PlaceZoomAndMarker();
    void PlaceMarker(int y);
    bool InsideMagnifier(int x, int y) const;
    void DrawMagnifyingWindow(TBitmap32& b, float left, float top, float size);
    void PaintBall(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintZoomScale(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintMarker(TPositionedLayer& layer, TBitmap32& buffer);

    TBallModel ball_;
    int BallPixelY = 0;
    bool MarkerHeld = false;
};

}  // namespace brv
