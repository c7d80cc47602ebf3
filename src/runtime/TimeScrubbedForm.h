// The experiments whose time (or volume) the pupil moves on a scroll bar
// along the bottom of the picture.  Every scroll notification carries the new
// position: the form notes whether time moved forward (TimeForward), keeps
// the position and redraws.  When the pupil lets go — of the slider, of an
// arrow or the track, of a key — the final position comes once more, so
// whatever shows time moving forward (bubbles, a glowing heater) is drawn
// only while the pupil is moving it.
#pragma once

#include "runtime/PictureForm.h"

class QScrollBar;

namespace brv {

class TTimeScrubbedForm : public TRedrawnForm {
    Q_OBJECT
public:
    using TRedrawnForm::TRedrawnForm;

    // The position last notified, and whether it moved forward.
    int Time() const { return time_; }
    bool TimeForward() const { return TimeForward_; }

    QScrollBar* TimeHsb = nullptr;

protected:
    // The bar, named name, from min to max; largeChange is a page.  The form
    // lays it out (LayOutPicture's bottom).
    QScrollBar* CreateTimeBar(int min, int max, int position, int largeChange, const QString& hint,
                              const QString& name = QStringLiteral("TimeHsb"));
    // Moves the bar and the kept time without any sign of moving forward
    // (a reset).  Redraws.
    void SetTime(int position);
    // A new run from time 0, as the reset button and a new setting start
    // one: NewRun, then the bar back at 0 (SetTime).
    void ResetBtnClick();
    // What a new run starts from: a new scatter, the apparatus as it was set
    // up.  Nothing by default.
    virtual void NewRun() {}
    // A setting whose every change starts a new run: after the control's
    // value changes, setting() takes it into the model, then ResetBtnClick.
    void NewRunOn(QSpinBox* spin, std::function<void()> setting);
    void NewRunOn(QDoubleSpinBox* spin, std::function<void()> setting);
    // A new position is about to be kept (TimeForward already set): a form
    // that draws a new scatter when time returns to 0 does it here.  It may
    // change position (a limit).
    virtual void TimeHsbScroll(int /*oldTime*/, int& /*position*/) {}

private:
    void notified(int& position, bool endOfScroll);
    int time_ = 0;
    bool TimeForward_ = false;
};

}  // namespace brv
