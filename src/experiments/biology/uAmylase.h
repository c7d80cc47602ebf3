// Breakdown of starch by amylase: a tube of starch and amylase in a water
// bath, a dimple tray of iodine drops and two droppers.  Test takes a sample
// after the chosen reaction time and drops it into the next dimple, which
// turns blue-black while starch remains and stays orange once it has gone;
// Reset empties the tray and the iodine dropper refills it.  The droppers
// move on a window timer, with the toolbar greyed meanwhile.
#pragma once

#include "experiments/biology/BiologyPictures.h"
#include "experiments/biology/uAmylaseModel.h"
#include "runtime/Catalogue.h"
#include "runtime/Image32.h"
#include "runtime/PictureForm.h"
#include "runtime/Polygon32.h"

#include <array>
#include <memory>

class QAction;
class QLabel;
class QSpinBox;
class QTimer;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Amylase = 18;
}  // namespace ids

class TPositionedLayer;
class TStepAnimation;

class TAmylaseFrm : public TRedrawnForm {
    Q_OBJECT
public:
    explicit TAmylaseFrm(QWidget* parent = nullptr);
    ~TAmylaseFrm() override;

    const TAmylaseModel& Model() const { return model_; }
    // Timer1's tick: the next step of the test or the refill under way.
    void Timer1Timer();
    int AnimStep() const { return AnimStep_; }
    bool RefillMode() const { return RefillMode_; }

    // Components, named as the toolbar and the picture know them.
    QAction* TestBtn = nullptr;
    QAction* ResetBtn = nullptr;
    QLabel* TimeLabel = nullptr;
    QSpinBox* TimeSE = nullptr;
    QLabel* TempLabel = nullptr;
    QSpinBox* TempSE = nullptr;
    QTimer* Timer1 = nullptr;
    TPositionedLayer* TrayLayer = nullptr;
    TPositionedLayer* IodineLayer = nullptr;
    TPositionedLayer* SampleLayer = nullptr;
    // The three dimple pictures, indexed by a dimple's state.
    TBitmap32List Bitmap32List;

private:
    void FormCreate();
    void createToolbar();
    void createLayers();
    void loadPictures();
    float ComputeScale(int width, int height) override;
    void PlaceLayers() override;
    void DrawBackground(TBitmap32& b) override;
    void TestBtnClick();
    void ResetBtnClick();
    void performTestStep(int step);
    // The step Timer1 takes; true after the last one.
    bool nextStep();

    void placeDropper(TPositionedLayer* layer, const TScenePoint& at);
    void DrawDimpleTray(TBitmap32& b);
    void DrawIodineBottle(TBitmap32& b, float x, float y, float w, float h);
    void PaintTray(TPositionedLayer& layer, TBitmap32& buffer);
    void PaintDropper(TPositionedLayer& layer, TBitmap32& buffer, bool liquidShown, TColor32 liquid,
                      TColor32 bulb);

    TAmylaseModel model_;
    std::unique_ptr<TStepAnimation> steps_;
    int AnimStep_ = 0;
    bool RefillMode_ = false;
    TPolygon32 shape_;
    std::array<TScaledPicture, 3> scaledDimples_;
};

}  // namespace brv
