// The friction experiment: a loaded block on a bench pulled by a spring
// balance; a lens magnifies the balance's scale, and the largest reading
// before each slip measures the friction.
#pragma once

#include "experiments/physics/uFrictionModel.h"
#include "runtime/Catalogue.h"
#include "runtime/PictureForm.h"

#include <array>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QSpinBox;

namespace brv {

// Its id in the catalogue, the number the lesson book's pages lead to.
namespace ids {
inline constexpr ExperimentId Friction = 6;
}  // namespace ids

class TFrictionFrm : public TRedrawnForm {
    Q_OBJECT
public:
    explicit TFrictionFrm(QWidget* parent = nullptr);
    ~TFrictionFrm() override;

    const TFrictionModel& Model() const { return friction_; }

    // Components, named as the toolbar and the picture know them.
    QAction* ResetBtn = nullptr;
    QAction* SurfaceBtn = nullptr;
    QMenu* SurfaceMenu = nullptr;
    QAction* Surface1 = nullptr;
    QAction* Surface2 = nullptr;
    QAction* Surface3 = nullptr;
    QLabel* Label1 = nullptr;
    QSpinBox* WtsSpinEd = nullptr;
    QLabel* Label2 = nullptr;
    QSpinBox* AreaSpinEd = nullptr;
    QScrollBar* ForceHsb = nullptr;

private:
    void FormCreate();
    void createToolbar();
    QAction* addSurface(int tag, const QString& caption);
    float ComputeScale(int width, int height) override;
    void DrawBackground(TBitmap32& b) override;
    void FrictionResetBtnClick();
    void ForceHsbScroll(int& position);
    void Surface1Click(int tag);
    void WtsSpinEdValueChanged(int value);
    void AreaSpinEdValueChanged(int value);

    void DrawSpringBalance(TBitmap32& b, float x, float y);
    void DrawBalanceLens(TBitmap32& b, float x, float y, float d);
    void DrawBlock(TBitmap32& b, float x, float y);

    TFrictionModel friction_;
};

}  // namespace brv
