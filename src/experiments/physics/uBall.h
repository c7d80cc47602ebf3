// The bouncing-ball experiment: a ball dropped beside a metre rule, with a
// magnifying window that reads the height of each bounce to the millimetre.
#pragma once

#include "experiments/physics/uBallModel.h"
#include "runtime/ExperimentForm.h"
#include "runtime/Polygon32.h"
#include "runtime/ToolbarItems.h"

#include <memory>

class QLabel;
class QScrollBar;
class QSpinBox;

namespace brv {

class TImage32;
class TNGLCadencer;
class TPositionedLayer;

class TBallFrm : public TExperimentForm {
    Q_OBJECT
public:
    explicit TBallFrm(QWidget* parent = nullptr);
    ~TBallFrm() override;

    QToolBar* Toolbar() override { return toolbar_; }
    TImage32* Pic() override { return Pic_; }
    void SetLargeButtons(bool large) override;
    void PressStart() override;
    TNGLCadencer* Cadencer() override { return Clock.get(); }

    enum class TState { Ready, Running, Paused, Finished };
    TState State() const { return state_; }
    const TBallModel& Model() const { return ball_; }
    float Scale() const { return Scale_; }

    // Components, named as the toolbar and the picture know them.
    TRunButtons Buttons;
    QLabel* BounceLabel = nullptr;
    QSpinBox* BounceSE = nullptr;
    QLabel* TempLabel = nullptr;
    QSpinBox* TemperatureSE = nullptr;
    QScrollBar* BallHsb = nullptr;
    TImage32* Pic_ = nullptr;
    TPositionedLayer* BallLayer = nullptr;
    TPositionedLayer* ZoomLayer = nullptr;
    TPositionedLayer* MarkerLayer = nullptr;
    std::unique_ptr<TNGLCadencer> Clock;

    void StartBtnClick(QAction* sender);
    void PicResize();

private:
    void FormCreate();
    void createToolbar();
    void createLayers();
    void ClockProgress(double deltaTime);
    void BallHsbScroll(int position);
    void TemperatureSEValueChange(int value);
    void PicMouseDown(int x, int y);
    void PicMouseMove(int x, int y);
    void PicMouseUp();

    void StopRun();
    void SetState(TState state);
    void PlaceBall();
    void PlaceZoomAndMarker();
    void PlaceMarker(int y);
    bool InsideMagnifier(int x, int y) const;
    void DrawBackground();
    void DrawMagnifyingWindow(TBitmap32& b, float left, float top, float size);
    void PaintBall(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintZoomScale(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintMarker(TPositionedLayer& layer, TBitmap32& buffer);

    TExperimentToolbar* toolbar_ = nullptr;
    TBallModel ball_;
    TState state_ = TState::Ready;
    float Scale_ = 1;
    int BallPixelY = 0;
    bool MarkerHeld = false;
    std::unique_ptr<TPolygon32> BallPolygon;
};

}  // namespace brv
