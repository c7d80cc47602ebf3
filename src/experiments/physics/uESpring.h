// The energy-stored-in-a-spring experiment: a compressed spring launches a
// trolley along the bench; a card on it is timed through a light gate, and a
// magnifier reads the compression.
#pragma once

#include "experiments/physics/uESpringModel.h"
#include "runtime/AnimatedForm.h"
#include "runtime/Catalogue.h"

class QDoubleSpinBox;
class QLabel;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId ESpring = 5;
}  // namespace ids

class TSpringFrm : public TAnimatedForm {
    Q_OBJECT
public:
    explicit TSpringFrm(QWidget* parent = nullptr);
    ~TSpringFrm() override;

    const TSpringModel& Model() const { return spring_; }

    // Components, named as the toolbar knows them.
    QLabel* SpringLabel = nullptr;
    QDoubleSpinBox* SpringSE = nullptr;
    QLabel* MassLabel = nullptr;
    QDoubleSpinBox* MassSE = nullptr;

private:
    void FormCreate();
    void createToolbar();
    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    TButtonStates ButtonsIn(TRunState state) const override;
    bool StartRun() override;
    void ResetRun() override;
    void StateChanged(TRunState state) override;
    void ClockProgress(double deltaTime) override;
    void SpringSEValueChange(double value);
    void MassSEValueChange(double value);

    float Released() const;
    void DrawCompressionLens(TBitmap32& b, float cx, float cy, float size);
    void DrawTrolley(TBitmap32& b);
    void DrawSpringHousing(TBitmap32& b);
    void DrawCompressionScale(TBitmap32& b);
    void DrawWires(TBitmap32& b);

    TSpringModel spring_;
    // Start is offered in the ready state unless the compression was set to
    // (next to) nothing since the last reset.
    bool StartOffered = true;
};

}  // namespace brv
