#include "runtime/TimeScrubbedForm.h"

#include "runtime/BRV_StrConstants.h"
#include "runtime/ToolbarItems.h"

#include <QDoubleSpinBox>
#include <QScrollBar>
#include <QSpinBox>

namespace brv {

QScrollBar* TTimeScrubbedForm::CreateTimeBar(int min, int max, int position, int largeChange,
                                             const QString& hint, const QString& name)
{
    TimeHsb = NewScrollBar(this, Qt::Horizontal, name, min, max, position, largeChange, hint);
    // A bar without a hint is still named, so a screen reader can say it.
    if (hint.isEmpty())
        TimeHsb->setAccessibleName(str::sTimeBarName());
    time_ = position;
    OnScroll(TimeHsb, [this](int& newPosition, bool endOfScroll) { notified(newPosition, endOfScroll); });
    return TimeHsb;
}

void TTimeScrubbedForm::notified(int& position, bool endOfScroll)
{
    // The end of a scroll repeats the final position: not forward.
    TimeForward_ = !endOfScroll && position > time_;
    const int old = time_;
    TimeHsbScroll(old, position);
    time_ = position;
    Redraw();
}

void TTimeScrubbedForm::ResetBtnClick()
{
    NewRun();
    SetTime(0);
}

void TTimeScrubbedForm::NewRunOn(QSpinBox* spin, std::function<void()> setting)
{
    connect(spin, &QSpinBox::valueChanged, this, [this, setting = std::move(setting)] {
        setting();
        ResetBtnClick();
    });
}

void TTimeScrubbedForm::NewRunOn(QDoubleSpinBox* spin, std::function<void()> setting)
{
    connect(spin, &QDoubleSpinBox::valueChanged, this, [this, setting = std::move(setting)] {
        setting();
        ResetBtnClick();
    });
}

void TTimeScrubbedForm::SetTime(int position)
{
    TimeForward_ = false;
    if (TimeHsb != nullptr) {
        const QSignalBlocker quiet(TimeHsb);
        TimeHsb->setValue(position);
        position = TimeHsb->value();
    }
    time_ = position;
    Redraw();
}

}  // namespace brv
