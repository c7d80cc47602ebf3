// The terminal-velocity experiment: a ball sinks through a tall tube of
// viscous liquid beside a metre rule, timed between two light gates whose
// magnifiers read their positions to the millimetre.
#pragma once

#include "experiments/physics/uTerminalVelocityModel.h"
#include "runtime/AnimatedForm.h"
#include "runtime/Polygon32.h"
#include "runtime/ToolbarItems.h"

#include <memory>

class QDoubleSpinBox;
class QLabel;
class QScrollBar;

namespace brv {

class TImage32;
class TNGLCadencer;
class TPositionedLayer;

class TVelocityFrm : public TAnimatedForm {
    Q_OBJECT
public:
    explicit TVelocityFrm(QWidget* parent = nullptr);
    ~TVelocityFrm() override;

    enum class TState { Ready, Running, Paused, AtBottom };
    TState State() const { return state_; }
    const TTerminalVelocityModel& Model() const { return model_; }
    float Scale() const { return Scale_; }

    // Components, named as the toolbar and the picture know them.
    QLabel* RadiusLabel = nullptr;
    QDoubleSpinBox* RadiusSE = nullptr;
    QLabel* ViscosityLabel = nullptr;
    QDoubleSpinBox* ViscositySE = nullptr;
    QScrollBar* Gate1Hsb = nullptr;
    QScrollBar* Gate2Hsb = nullptr;
    TPositionedLayer* WatchLayer = nullptr;
    TPositionedLayer* BallLayer = nullptr;
    TPositionedLayer* TubeLayer = nullptr;

    void StartBtnClick(QAction* sender) override;
    void PicResize() override;

private:
    void FormCreate();
    void createToolbar();
    QScrollBar* createGateBar(const QString& name, int position, const QString& hint);
    void createLayers();
    void ClockProgress(double deltaTime) override;
    void Gate1HsbScroll(QScrollBar* sender, int& position);
    void RadiusSEValueChange(double value);
    void ViscositySEValueChange(double value);

    void SetState(TState state);
    void PlaceBall();
    void DrawBackground();
    void DrawGate(TBitmap32& b, float gate);
    void DrawWires(TBitmap32& b);
    void DrawGateMagnifier(TBitmap32& b, float left, float top, float size, float gate);
    void PaintWatch(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintBall(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintTube(TPositionedLayer& layer, TBitmap32& buffer);

    TTerminalVelocityModel model_;
    TState state_ = TState::Ready;
    float Scale_ = 1;
    int BallPixelY = 0;
};

}  // namespace brv
