// Yeast respiration: a stoppered flask of yeast in glucose solution in a
// water bath gives off carbon dioxide, which a delivery tube leads into an
// inverted gas burette standing in a beaker of water.  The pupil moves
// through ten minutes on the time bar and reads the gas on the burette's
// lens; bubbles show in the flask and the burette only while time moves
// forward.
#pragma once

#include "experiments/biology/uYeastModel.h"
#include "runtime/Catalogue.h"
#include "runtime/TimeScrubbedForm.h"

class QAction;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Yeast = 21;
}  // namespace ids

class TYeastFrm : public TTimeScrubbedForm {
    Q_OBJECT
public:
    explicit TYeastFrm(QWidget* parent = nullptr);
    ~TYeastFrm() override;

    const TYeastModel& Model() const { return model_; }
    // The volume the picture shows, cm³ (a new timing error at every change).
    float Volume() const { return Volume_; }
    void SetLargeButtons(bool large) override;

    // Components, named as the toolbar knows them.
    QAction* ResetBtn = nullptr;
    QLabel* GlucoseLabel = nullptr;
    QDoubleSpinBox* GlucoseSE = nullptr;
    QLabel* TempLabel = nullptr;
    QSpinBox* TempSE = nullptr;

private:
    void FormCreate();
    void createToolbar();
    float ComputeScale(int width, int height) override;
    void Recompute() override;
    void DrawBackground(TBitmap32& b) override;
    void TimeHsbScroll(int oldTime, int& position) override;
    void NewRun() override;
    void GlucoseSEValueChange(double value);
    void TempSEStep(int value);
    void DrawDeliveryTube(TBitmap32& b, float x0, float y0);

    TYeastModel model_;
    float Volume_ = 0;
};

}  // namespace brv
