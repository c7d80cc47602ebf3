// Calcium carbonate and hydrochloric acid: a stoppered flask on a top-pan
// balance sends its carbon dioxide along a delivery tube into an inverted
// burette standing in a trough of water.  The pupil moves through the
// reaction on the time bar and reads the burette (with its magnifier), the
// balance and the stopwatch.
#pragma once

#include "experiments/chemistry/uCaCarbModel.h"
#include "runtime/Catalogue.h"
#include "runtime/TimeScrubbedForm.h"

class QAction;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId CaCarb = 2;
}  // namespace ids

class TCaCarbFrm : public TTimeScrubbedForm {
    Q_OBJECT
public:
    explicit TCaCarbFrm(QWidget* parent = nullptr);
    ~TCaCarbFrm() override;

    // The general rule; the labels' captions shorten and the time bar
    // thickens with large buttons.
    void SetLargeButtons(bool large) override;

    const TCaCarbModel& Model() const { return model_; }
    // The gas in the burette (0..50 cm³) and given off in all, as last computed.
    float GasVolume() const { return reading_.GasShown; }
    float GasGiven() const { return reading_.GasGiven; }
    float BalanceReading() const { return model_.BalanceReading(reading_.GasGiven); }
    bool GasOverflow() const { return GasOverflow_; }
    bool ReactionDone() const { return ReactionDone_; }
    // Bubbles rise while the pupil moves the time forward through a reaction
    // that is still going.
    bool Bubbling() const { return TimeForward() && !ReactionDone_; }

    QAction* ResetBtn = nullptr;
    QLabel* ConcLabel = nullptr;
    QDoubleSpinBox* ConcSE = nullptr;
    QLabel* VolumeLabel = nullptr;
    QSpinBox* VolSE = nullptr;
    QLabel* MassLabel = nullptr;
    QDoubleSpinBox* MassSE = nullptr;

private:
    void FormCreate();
    void createToolbar();
    void NewRun() override;
    void ConcSEValueChange(double value);
    void MassSEValueChange(double value);
    void VolSEValueChange(int value);

    void Recompute() override;
    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    void DrawEscapingGas(TBitmap32& b);
    void DrawDeliveryTube(TBitmap32& b);
    void DrawBalance(TBitmap32& b);

    TCaCarbModel model_;
    TCaCarbModel::TReading reading_;
    bool GasOverflow_ = false;
    bool ReactionDone_ = false;
};

}  // namespace brv
