// The heating effect of a current: a heater in a beaker of water, fed from a
// power supply through an ammeter, with a thermometer, its close-up and a
// stopwatch.  The pupil moves the time on the scroll bar; the temperature is
// worked out for the time chosen.
#pragma once

#include "experiments/physics/uHeatingModel.h"
#include "runtime/Catalogue.h"
#include "runtime/TimeScrubbedForm.h"

class QAction;
class QLabel;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Heating = 7;
}  // namespace ids

class THECFrm : public TTimeScrubbedForm {
    Q_OBJECT
public:
    explicit THECFrm(QWidget* parent = nullptr);
    ~THECFrm() override;

    const THeatingModel& Model() const { return model_; }

    QAction* InsulateBtn = nullptr;
    QLabel* RLabel = nullptr;
    QSpinBox* resistanceSE = nullptr;
    QLabel* MassLabel = nullptr;
    QSpinBox* MassSE = nullptr;
    QLabel* VoltLabel = nullptr;
    QSpinBox* VoltageSE = nullptr;

private:
    void FormCreate();
    void createToolbar();
    void readSettings();
    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    void TimeHsbScroll(int oldTime, int& position) override;

    void DrawLagging(TBitmap32& b);
    void DrawLid(TBitmap32& b);
    void DrawCircuit(TBitmap32& b);
    void DrawHeater(TBitmap32& b);

    THeatingModel model_;
};

}  // namespace brv
