// Decomposition of hydrogen peroxide: a stoppered flask of peroxide and
// catalyst stands in a water bath with a thermometer; its oxygen passes along
// a delivery tube and a rubber connector into a horizontal gas syringe.  The
// pupil moves through an hour of the reaction on the time bar and reads the
// syringe (with its magnifier), the thermometer (with its lens) and the
// stopwatch.
#pragma once

#include "experiments/chemistry/uPeroxideModel.h"
#include "runtime/Catalogue.h"
#include "runtime/TimeScrubbedForm.h"

class QAction;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Peroxide = 3;
}  // namespace ids

// A horizontal gas syringe along the centre line Y, its nozzle at X, width W
// and height H, its plunger pushed out by gas cm³ (not limited: beyond about
// 114 cm³ it leaves the barrel).  A scale marks every 10 cm³ and numbers 0,
// 50 and 100 in a font labelHeight pixels high.
void DrawGasSyringe(TBitmap32& b, float X, float Y, float W, float H, float gas, int labelHeight);

// A round close-up, Size across, of the syringe's scale with gas cm³ on its
// centre line, 3 cm³ across the lens.  Below 1.5 cm³ it shows the syringe's
// closed end moving left as the gas grows; above 100 cm³ the scale stops at
// its 100 mark on the centre line and the plunger's face moves on to the
// right until it leaves the lens.
void DrawSyringeMagnifier(TBitmap32& b, float X, float Y, float Size, float gas);

class TPeroxideFrm : public TTimeScrubbedForm {
    Q_OBJECT
public:
    explicit TPeroxideFrm(QWidget* parent = nullptr);
    ~TPeroxideFrm() override;

    // The general rule; the temperature's editor font goes from 150 % to 300 %.
    void SetLargeButtons(bool large) override;

    const TPeroxideModel& Model() const { return model_; }
    // The oxygen shown, cm³.
    float GasVolume() const { return GasVolume_; }

    QAction* ResetBtn = nullptr;
    QLabel* ConcLabel = nullptr;
    QDoubleSpinBox* ConcSE = nullptr;
    QLabel* VolumeLabel = nullptr;
    QSpinBox* VolumeSE = nullptr;
    QLabel* CatMassLabel = nullptr;
    QDoubleSpinBox* CatMassSE = nullptr;
    QLabel* CatSizeLabel = nullptr;
    QDoubleSpinBox* CatSizeSE = nullptr;
    QLabel* TempLabel = nullptr;
    QSpinBox* TempSE = nullptr;

private:
    void FormCreate();
    void createToolbar();
    void NewRun() override;
    void CatMassSEValueChange();
    void TempSEStep();
    void ScaleTemperatureFont(bool large);

    void TimeHsbScroll(int oldTime, int& position) override;
    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    void DrawDeliveryTube(TBitmap32& b);

    TPeroxideModel model_;
    float GasVolume_ = 0;
};

}  // namespace brv
