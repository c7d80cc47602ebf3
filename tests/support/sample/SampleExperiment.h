// A small experiment form used only by tests: a dot that moves across the
// picture while its clock runs.  It shows that a form can be created, hosted,
// ticked and drawn before any real experiment exists.
#pragma once

#include "common/CadencerEx.h"
#include "runtime/ExperimentForm.h"
#include "runtime/Image32.h"

#include <QAction>
#include <QSpinBox>

#include <memory>
#include <vector>

namespace brv::test {

class TSampleFrm : public TExperimentForm {
    Q_OBJECT
public:
    explicit TSampleFrm(QWidget* parent = nullptr);
    ~TSampleFrm() override;

    QToolBar* Toolbar() override { return toolbar_; }
    TImage32* Pic() override { return pic_; }
    void SetLargeButtons(bool large) override;
    void PressStart() override { StartBtn->trigger(); }
    TNGLCadencer* Cadencer() override { return clock_.get(); }

    QAction* StartBtn = nullptr;
    QAction* StopBtn = nullptr;
    QSpinBox* SpeedSE = nullptr;

    double X = 10;  // dot position, pixels
    int Steps = 0;  // callbacks received
    // What the host did, in order: "large:<0|1>:<hidden|shown>".
    std::vector<QString> Calls;
    static int Alive;  // forms not yet destroyed

private:
    void drawBackground();
    TExperimentToolbar* toolbar_ = nullptr;
    TImage32* pic_ = nullptr;
    TPositionedLayer* dot_ = nullptr;
    std::unique_ptr<TNGLCadencer> clock_;
};

// Registers TSampleFrm under id (large-buttons call before or after show).
void RegisterSample(int id, bool beforeShow = true);

}  // namespace brv::test
