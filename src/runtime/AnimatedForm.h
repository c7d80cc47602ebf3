// The common frame of the experiments that run on their own animation clock:
// a toolbar that starts with the start / stop / reset buttons, the picture,
// and a clock owned by the form.
#pragma once

#include "runtime/ExperimentForm.h"
#include "runtime/ToolbarItems.h"

#include <memory>

namespace brv {

class TImage32;
class TNGLCadencer;

class TAnimatedForm : public TExperimentForm {
    Q_OBJECT
public:
    explicit TAnimatedForm(QWidget* parent = nullptr);
    ~TAnimatedForm() override;

    QToolBar* Toolbar() override { return toolbar_; }
    TImage32* Pic() override { return Pic_; }
    TNGLCadencer* Cadencer() override { return Clock.get(); }
    // Presses StartBtn when it is enabled.
    void PressStart() override;

    TRunButtons Buttons;
    TImage32* Pic_ = nullptr;
    std::unique_ptr<TNGLCadencer> Clock;

    // One handler for the three buttons; it tells them apart by the sender.
    virtual void StartBtnClick(QAction* sender) = 0;

protected:
    // The toolbar with its three run buttons.
    void CreateRunToolbar(const QString& startHint, const QString& stopHint, const QString& resetHint);
    // The picture, named Pic, with OnResize calling PicResize.
    void CreatePic();
    virtual void PicResize() = 0;
    // The clock, created disabled; fixedDeltaTime 0 gives variable steps.
    void CreateClock(double fixedDeltaTime);
    virtual void ClockProgress(double deltaTime) = 0;

    TExperimentToolbar* toolbar_ = nullptr;
};

}  // namespace brv
