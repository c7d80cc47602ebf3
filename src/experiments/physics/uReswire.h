// Resistance of wires: a bare wire along a metre rule between two clamps, a
// jockey on it choosing the length under test, a lens on the rule round the
// jockey, and a resistance meter or an ammeter and a voltmeter with cells.
// Nothing moves by itself: every change redraws with a fresh reading.
#pragma once

#include "experiments/physics/uReswireModel.h"
#include "runtime/Bitmap32.h"
#include "runtime/Catalogue.h"
#include "runtime/PictureForm.h"

class QAction;
class QActionGroup;
class QDoubleSpinBox;
class QLabel;
class QMenu;
class QScrollBar;
class QSpinBox;
class QToolButton;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Reswire = 10;
}  // namespace ids

// What the meters show after a redraw.
struct TReswireReading {
    float Ohms = 0;  // the resistance the meter or the circuit sees
    float Amps = 0;  // ammeter and voltmeter only
    float Volts = 0;
};

class TReswireFrm : public TRedrawnForm {
    Q_OBJECT
public:
    explicit TReswireFrm(QWidget* parent = nullptr);
    ~TReswireFrm() override;

    const TReswireModel& Model() const { return model_; }
    const TReswireReading& Reading() const { return reading_; }
    bool UsesResistanceMeter() const { return useMeter_; }
    // The metre rule on the picture, in bitmap pixels, as last drawn.
    TRect RuleRect() const { return RuleRect_; }
    bool Dragging() const { return Dragging_; }

    QAction* OhmBtn = nullptr;
    QAction* AmpVoltBtn = nullptr;
    QLabel* CellsLabel = nullptr;
    QSpinBox* cellSE = nullptr;
    QLabel* WireDiameterLabel = nullptr;
    QDoubleSpinBox* WireSE = nullptr;
    QToolButton* MetalBtn = nullptr;
    QMenu* MetalMenu = nullptr;
    QAction* Copper = nullptr;
    QAction* Nichrome = nullptr;
    QAction* Constantan = nullptr;
    QScrollBar* WireHsb = nullptr;

private:
    void FormCreate();
    void createToolbar();
    void createMetalMenu();
    void OhmBtnClick(QAction* sender);
    void CopperClick(QAction* sender);
    void WireHsbScroll(int position);
    void picMouseDown(int x, int y);
    void picMouseMove(int x, int y);
    void picMouseUp();
    void SetLengthFromPicture(int x);
    void showCells(bool shown);

    void Recompute() override;
    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    void DrawMetreRule(TBitmap32& b);
    void DrawMagnifiedView(TBitmap32& b);
    void DrawMeters(TBitmap32& b);
    void DrawCircuit(TBitmap32& b);
    void DrawJockey(TBitmap32& b, int x);
    void DrawClamps(TBitmap32& b);
    void DrawBattery(TBitmap32& b);

    TReswireModel model_;
    TReswireReading reading_;
    bool useMeter_ = true;
    TRect RuleRect_;
    bool Dragging_ = false;
};

}  // namespace brv
