// The terminal-velocity experiment: a ball sinks through a tall tube of
// viscous liquid beside a metre rule, timed between two light gates whose
// magnifiers read their positions to the millimetre.
#pragma once

#include "experiments/physics/uTerminalVelocityModel.h"
#include "runtime/AnimatedForm.h"
#include "runtime/Catalogue.h"
#include "runtime/Polygon32.h"
#include "runtime/ToolbarItems.h"

#include <memory>

class QDoubleSpinBox;
class QLabel;
class QScrollBar;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId TerminalVelocity = 11;
}  // namespace ids

class TImage32;
class TNGLCadencer;
class TPositionedLayer;

class TVelocityFrm : public TAnimatedForm {
    Q_OBJECT
public:
    explicit TVelocityFrm(QWidget* parent = nullptr);

    const TTerminalVelocityModel& Model() const { return model_; }

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

private:
    void FormCreate();
    void createToolbar();
    QScrollBar* createGateBar(const QString& name, int position, const QString& hint);
    void createLayers();
    float ComputeScale(int width, int height) override;
    void PlaceLayers() override;
    void DrawBackground(TBitmap32& b) override;
    void StopRun() override;
    void ResetRun() override;
    void ClockProgress(double deltaTime) override;
    void Gate1HsbScroll(QScrollBar* sender, int& position);
    void RadiusSEValueChange(double value);
    void ViscositySEValueChange(double value);

    void PlaceBall();
    void DrawGate(TBitmap32& b, float gate);
    void DrawWires(TBitmap32& b);
    void DrawGateMagnifier(TBitmap32& b, float left, float top, float size, float gate);
    void PaintWatch(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintBall(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintTube(TPositionedLayer& layer, TBitmap32& buffer);

    TTerminalVelocityModel model_;
    int BallPixelY = 0;
};

}  // namespace brv
