#include "notebook/TypedValue.h"

#include "runtime/BRV_StrConstants.h"

#include <cmath>

namespace brv {

namespace {

// Both the locale's decimal separator and "." mean the decimal point; the
// locale's minus sign is a minus.  Group separators are refused: "1,500" would
// be one and a half to half of Europe.
QString Normalised(QString text, const QLocale& locale)
{
    text = text.trimmed();
    const QString point = locale.decimalPoint();
    if (point != QStringLiteral("."))
        text.replace(point, QStringLiteral("."));
    const QString minus = locale.negativeSign();
    if (minus != QStringLiteral("-"))
        text.replace(minus, QStringLiteral("-"));
    text.replace(QChar(0x2212), QLatin1Char('-'));  // the typographic minus
    return text;
}

}  // namespace

TTypedValue ParseTypedValue(const QString& text, const QLocale& locale, double min, double max)
{
    TTypedValue result;
    const QString plain = Normalised(text, locale);
    if (plain.isEmpty()) {
        result.accepted = true;
        return result;
    }
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(plain, &ok);
    if (!ok || !std::isfinite(value)) {
        result.reason = str::sResultsNotANumber().arg(text.trimmed());
        return result;
    }
    if (value < min) {
        result.reason = str::sResultsTooSmall().arg(FormatTyped(value, locale), FormatTyped(min, locale));
        return result;
    }
    if (value > max) {
        result.reason = str::sResultsTooLarge().arg(FormatTyped(value, locale), FormatTyped(max, locale));
        return result;
    }
    result.accepted = true;
    result.value = value;
    return result;
}

namespace {

// A copy that writes no group separators: a cell holds "1500", which reads
// back as the same number in every locale.
QLocale Ungrouped(QLocale locale)
{
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

}  // namespace

QString FormatTyped(double value, const QLocale& locale)
{
    QString s = FormatFixed(value, 6, locale);
    const QString point = locale.decimalPoint();
    if (s.contains(point)) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(point))
            s.chop(point.size());
    }
    return s;
}

QString FormatAtLeast(double value, int minDecimals, const QLocale& locale)
{
    const QString typed = FormatTyped(value, locale);
    const qsizetype point = typed.indexOf(locale.decimalPoint());
    const int decimals = point < 0 ? 0 : int(typed.size() - point - locale.decimalPoint().size());
    return decimals >= minDecimals ? typed : FormatFixed(value, minDecimals, locale);
}

QString FormatFixed(double value, int decimals, const QLocale& locale)
{
    // -0.0 would show a minus in front of nothing.
    if (value == 0)
        value = 0;
    return Ungrouped(locale).toString(value, 'f', std::max(0, decimals));
}

}  // namespace brv
