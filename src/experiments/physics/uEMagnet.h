// Strength of an electromagnet: an iron core wound with a coil hangs from
// the top of the picture, in series with an ammeter and a power supply.  The
// pupil raises a tray of nails to it, lowers it again and counts the nails
// left hanging.
#pragma once

#include "experiments/physics/uEMagnetModel.h"
#include "runtime/Catalogue.h"
#include "runtime/Image32.h"
#include "runtime/PictureForm.h"

#include <memory>

class QAction;
class QLabel;
class QSpinBox;
class QTimer;

namespace brv {

class TStepAnimation;

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId EMagnet = 4;
}  // namespace ids

class TEMagnetFrm : public TRedrawnForm {
    Q_OBJECT
public:
    explicit TEMagnetFrm(QWidget* parent = nullptr);
    ~TEMagnetFrm() override;

    const TEMagnetModel& Model() const { return model_; }
    // The tray is on its way up or down: the toolbar waits.
    bool Animating() const;

    QAction* AddBtn = nullptr;
    QAction* CountBtn = nullptr;
    QAction* ResetBtn = nullptr;
    QLabel* TurnsLabel = nullptr;
    QSpinBox* Coils = nullptr;
    QLabel* VoltageLabel = nullptr;
    QSpinBox* Current = nullptr;
    // 0: the core's texture; 1: the heap of nails in the tray.
    TBitmap32List BitmapList;
    QTimer* TrayTimer = nullptr;

    // Each step of the tray's journey is shown for this long.
    static constexpr int TrayStepMs = 16;

private:
    void FormCreate();
    void createToolbar();
    void createPictures();
    void NailAddBtnClick(QAction* sender);
    void CoilsValueChanged();
    void newNails();
    void setButtons(bool add, bool count, bool reset);
    // One step of the tray's journey; true after the last.
    bool advanceTray();

    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    void DrawCore(TBitmap32& b);
    void DrawCoil(TBitmap32& b);
    void DrawTray(TBitmap32& b);
    void DrawNails(TBitmap32& b);
    void DrawNail(TBitmap32& b, const TNail& nail, float dx, float dy);
    void DrawWires(TBitmap32& b);

    TEMagnetModel model_;
    std::unique_ptr<TStepAnimation> steps_;
    int trayStep_ = 0;
};

}  // namespace brv
