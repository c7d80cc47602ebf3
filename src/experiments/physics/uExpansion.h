// Expansion of a gas: a capillary tube, closed at the bottom, stands in a
// beaker of water beside a 20 cm rule; air is trapped in it under a green
// thread.  A lens magnifies the top of the air column on the rule, another
// the thermometer.  Every change of a setting redraws with a fresh reading.
#pragma once

#include "experiments/physics/uExpansionModel.h"
#include "runtime/Catalogue.h"
#include "runtime/PictureForm.h"

class QLabel;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Expansion = 15;
}  // namespace ids

class TExpansionFrm : public TRedrawnForm {
    Q_OBJECT
public:
    explicit TExpansionFrm(QWidget* parent = nullptr);
    ~TExpansionFrm() override;

    const TExpansionModel& Model() const { return model_; }
    // Two font pairs: the labels 150 % / 100 %, the editors 300 % / 150 %.
    void SetLargeButtons(bool large) override;

    QLabel* MassLabel = nullptr;
    QSpinBox* Mass = nullptr;
    QLabel* TempLabel = nullptr;
    QSpinBox* Temperature = nullptr;

private:
    void FormCreate();
    void createToolbar();
    void applyLargeItems(bool large);
    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    void DrawCentimetreRule(TBitmap32& b);
    void DrawCapillary(TBitmap32& b);
    void DrawColumnLens(TBitmap32& b);

    TExpansionModel model_;
};

}  // namespace brv
