// Reads an experiment's settings off its form for Record: the value of the
// control a declaration names (spin box, scroll bar, time bar, radio group,
// menu of choices).  Only settings: the reading the pupil takes off an
// instrument is never looked up here, nor anywhere in the notebook.
#pragma once

#include "runtime/ResultsDeclaration.h"

#include <QLocale>
#include <QString>

#include <optional>

class QWidget;

namespace brv {

class TExperimentForm;

struct TSettingValue {
    std::optional<double> number;  // a numeric control
    QString text;                  // as the row shows it: "20 ºC", "sandpaper"
};

// Empty when the variable names no control, or the form has none by that name.
std::optional<TSettingValue> ReadSetting(TExperimentForm* form, const TResultsVariable& variable,
                                         const QLocale& locale = QLocale());

}  // namespace brv
