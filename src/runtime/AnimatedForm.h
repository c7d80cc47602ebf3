// The common frame of the experiments that run on their own animation clock:
// a toolbar that starts with the start / stop / reset buttons, the picture,
// and a clock owned by the form.
#pragma once

#include "runtime/ExperimentForm.h"
#include "runtime/ToolbarItems.h"

#include <functional>
#include <memory>
#include <vector>

namespace brv {

class TBitmap32;
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
    // The large-buttons rule over the items given to SetLargeItems, widths
    // scaled by the screen's dots per inch (so at other than 96 dots per inch
    // an unchanged flag still applies the widths once).
    void SetLargeButtons(bool large) override;

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
    // ClockProgress is called only while the clock is enabled: a run stopped
    // inside a tick gets none of that tick's remaining fixed steps.
    void CreateClock(double fixedDeltaTime);
    virtual void ClockProgress(double deltaTime) = 0;
    // The full redraw of the picture's background: nothing while the bitmap
    // is empty; otherwise white, then draw, then the dark-grey frame round the
    // whole picture, and the picture repainted at once.
    void RedrawBackground(const std::function<void(TBitmap32&)>& draw);
    // The experiment's large-buttons table: the text items whose font and the
    // spin edits whose width follow the button size.  Applied small at once,
    // so the toolbar starts with its design widths.
    void SetLargeItems(std::vector<TLargeItem> items);

    TExperimentToolbar* toolbar_ = nullptr;

private:
    std::vector<TLargeItem> largeItems_;
};

}  // namespace brv
