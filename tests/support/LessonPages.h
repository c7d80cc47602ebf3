// Reading the bundled lesson book's pages in tests: a page's text, the
// numbers of a table row, and the text with its whitespace made single.
#pragma once

#include "runtime/ProgramFolder.h"

#include <QFile>
#include <QRegularExpression>
#include <QString>

#include <vector>

namespace brv::test {

// The page html/<name> of the program folder the build fills; empty when
// missing.
inline QString Page(const char* name)
{
    QFile f(ResolveInFolder(QStringLiteral(BRV_PROGRAM_DIR), QStringLiteral("html/") + QLatin1String(name)));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The numbers in the cells of the table row that starts with heading.
inline std::vector<double> RowNumbers(const QString& html, const QString& heading)
{
    const QRegularExpression row(
        QStringLiteral("<tr><th>%1</th>(.*?)</tr>").arg(QRegularExpression::escape(heading)),
        QRegularExpression::DotMatchesEverythingOption);
    std::vector<double> numbers;
    const QRegularExpressionMatch m = row.match(html);
    if (!m.hasMatch())
        return numbers;
    static const QRegularExpression cell(QStringLiteral("<t[dh]>\\s*([0-9.]+)\\s*</t[dh]>"));
    for (auto it = cell.globalMatch(m.captured(1)); it.hasNext();)
        numbers.push_back(it.next().captured(1).toDouble());
    return numbers;
}

// Whitespace in the page's text is any run of spaces and line breaks.
inline QString Flat(QString html)
{
    return html.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}

}  // namespace brv::test
