// A value the pupil types into a cell: a number written with the locale's
// decimal separator or with ".", within a sensible range.  Anything else is
// refused with a one-line reason, never kept.
#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace brv {

struct TTypedValue {
    bool accepted = false;
    std::optional<double> value;  // empty and accepted: the cell was emptied
    QString reason;               // why it was refused
};

TTypedValue ParseTypedValue(const QString& text, const QLocale& locale, double min, double max);

// A number as a cell shows it: the locale's separator, no trailing zeros
// beyond what was typed (up to ten significant digits).
QString FormatTyped(double value, const QLocale& locale);
// At least minDecimals decimals, more where the value has them: a reading
// typed as 13.0 to a scale of tenths shows as 13.0, one typed as 29.45 keeps
// its hundredths.
QString FormatAtLeast(double value, int minDecimals, const QLocale& locale);
// Fixed decimals, the locale's separator.
QString FormatFixed(double value, int decimals, const QLocale& locale);

}  // namespace brv
