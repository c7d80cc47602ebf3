// Photosynthesis: pondweed in a boiling tube of bicarbonate solution, lit by
// a lamp the pupil drags along a bench rule.  Oxygen collects under a funnel;
// pulling the syringe draws the bubble along a capillary beside a 10 cm rule
// and into an enlarged view above, where holding the mouse button lays a
// reading line.  The time comes from the time bar; every change that would
// alter the measurement pushes the syringe back in.
#pragma once

#include "experiments/biology/BiologyPictures.h"
#include "experiments/biology/uPhotosynthesisModel.h"
#include "runtime/Catalogue.h"
#include "runtime/Image32.h"
#include "runtime/TimeScrubbedForm.h"

class QAction;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Photosynthesis = 9;
}  // namespace ids

class TPositionedLayer;

class TPhotoFrm : public TTimeScrubbedForm {
    Q_OBJECT
public:
    explicit TPhotoFrm(QWidget* parent = nullptr);
    ~TPhotoFrm() override;

    enum class TDragMode { None, Lamp, ReadingLine };

    const TPhotosynthesisModel& Model() const { return model_; }
    bool Pulled() const;
    float PlungerX() const { return PlungerX_; }
    TDragMode DragMode() const { return DragMode_; }
    // Nothing on the background follows the time: only the layers that show
    // it are painted again.
    void Redraw() override;

    // Components, named as the toolbar and the picture know them.
    QAction* ResetBtn = nullptr;
    QAction* SyringeBtn = nullptr;
    QLabel* tempLabel = nullptr;
    QSpinBox* tempSE = nullptr;
    QLabel* BiCarbLabel = nullptr;
    QDoubleSpinBox* BiCarbSE = nullptr;
    TPositionedLayer* LampLayer = nullptr;
    TPositionedLayer* BubbleLayer = nullptr;
    TPositionedLayer* PlungerLayer = nullptr;
    TPositionedLayer* GasColumnLayer = nullptr;
    TPositionedLayer* MagnifiedBubbleLayer = nullptr;
    TPositionedLayer* StopwatchLayer = nullptr;
    TPositionedLayer* NeedleLayer = nullptr;
    TPositionedLayer* NoOxygenLayer = nullptr;
    // The reading line, laid over everything while the button is held on
    // the enlarged scale.
    TPositionedLayer* ReadingLineLayer = nullptr;
    // Picture 0 the lamp, picture 1 the pondweed.
    TBitmap32List BMList;

private:
    void FormCreate();
    void createToolbar();
    void createLayers();
    void loadPictures();
    float ComputeScale(int width, int height) override;
    void PlaceLayers() override;
    void DrawBackground(TBitmap32& b) override;
    void TimeHsbScroll(int oldTime, int& position) override;
    void SyringeBtnClick();
    void PushBack();
    void NewRun() override;
    void tempSEValueChange(int value);
    void BiCarbSEValueChange(double value);
    void PicMouseDown(int x, int y);
    void PicMouseMove(int x, int y);
    void PicMouseUp();

    void placeLamp();
    void placePlunger();
    void placeBubbleLayers();
    void placeReadingLine();
    TRect ReadingStrip() const;
    // Pixels of the bubble in the enlarged view, and whether it is too
    // short to measure.
    int EnlargedBubblePixels() const;
    bool TooShortToMeasure() const;

    void DrawCapillaryAssembly(TBitmap32& b, float x, float y);
    void DrawCapillaryRule(TBitmap32& b, float x, float y, float w, float h);
    void DrawReadingScale(TBitmap32& b, float x, float y, float w, float h);
    void DrawLightMeter(TBitmap32& b, float x, float y, float w, float h);

    void PaintLamp(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintBubbles(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintPlunger(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintGasColumn(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintMagnifiedBubble(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintStopwatch(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintNeedle(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintNoOxygen(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintReadingLine(TPositionedLayer& layer, TBitmap32& buffer);

    TPhotosynthesisModel model_;
    TScaledPicture scaledLamp_, scaledWeed_;
    float PlungerX_ = 72;
    TDragMode DragMode_ = TDragMode::None;
    int DragX = 0;
};

}  // namespace brv
