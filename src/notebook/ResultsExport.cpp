#include "notebook/ResultsExport.h"

#include "notebook/ResultsModel.h"
#include "notebook/TypedValue.h"
#include "runtime/BRV_StrConstants.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace brv {

namespace {

QStringList HeaderCells(const TResultsModel& model)
{
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.ColumnTitle(c);
    return cells;
}

// A cell written with "." decimals: the model in the C locale.
QString CsvCell(const TResultsModel& model, int row, int column)
{
    if (model.IsTypedColumn(column)) {
        const std::optional<double> v = model.CellAt(row, column).value;
        const TResultsTableDeclaration& d = model.Declaration();
        const int decimals =
            column == model.IndependentColumn() ? d.independent.decimals : d.dependent.decimals;
        return v ? FormatAtLeast(*v, decimals, QLocale::c()) : QString();
    }
    const stats::TRowSummary s = model.Summary(row);
    const int decimals = model.Declaration().dependent.decimals + 1;
    const auto fixed = [decimals](const std::optional<double>& v) {
        return v ? FormatFixed(*v, decimals, QLocale::c()) : QString();
    };
    if (column == model.MeanColumn())
        return fixed(s.mean);
    if (column == model.RangeColumn())
        return fixed(s.range);
    if (column == model.UncertaintyColumn())
        return fixed(s.uncertainty);
    return model.CellText(row, column);
}

}  // namespace

QString TableAsTsv(const TResultsModel& model)
{
    const auto clean = [](QString s) { return s.replace(QLatin1Char('\t'), QLatin1Char(' ')); };
    QStringList lines;
    QStringList header;
    for (const QString& h : HeaderCells(model))
        header << clean(h);
    lines << header.join(QLatin1Char('\t'));
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << clean(model.CellText(r, c));
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray TableAsCsv(const TResultsModel& model)
{
    QString out;
    const auto line = [&out](const QStringList& cells) {
        QStringList fields;
        for (const QString& c : cells)
            fields << CsvField(c);
        out += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    line(HeaderCells(model));
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << CsvCell(model, r, c);
        line(cells);
    }
    return out.toUtf8();
}

int PaintResultsPages(QPagedPaintDevice& device, const TResultsModel& model, const TPrintHeading& heading,
                      const QPixmap& graph)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const QRectF page = QRectF(device.pageLayout().paintRectPixels(device.logicalDpiX()));
    QFont titleFont(QStringLiteral("Liberation Sans"));
    titleFont.setPointSizeF(14);
    titleFont.setBold(true);
    QFont textFont(QStringLiteral("Liberation Sans"));
    textFont.setPointSizeF(8.5);
    QFont boldFont = textFont;
    boldFont.setBold(true);

    const int columns = model.columnCount();
    const qreal columnWidth = page.width() / columns;
    const qreal rowHeight = QFontMetricsF(textFont, &device).height() * 1.5;
    const qreal headerHeight = rowHeight * 3;
    int pages = 1;
    qreal y = page.top();

    const auto drawHeading = [&] {
        painter.setFont(titleFont);
        const qreal titleHeight = QFontMetricsF(titleFont, &device).height();
        painter.drawText(QRectF(page.left(), y, page.width(), titleHeight), Qt::AlignLeft,
                         str::sResultsPrintTitle().arg(heading.experiment));
        y += titleHeight;
        painter.setFont(textFont);
        painter.drawText(
            QRectF(page.left(), y, page.width(), rowHeight), Qt::AlignLeft,
            heading.question + QStringLiteral("    ") +
                str::sResultsPrintDate().arg(QLocale().toString(heading.when, QLocale::ShortFormat)));
        y += rowHeight * 1.5;
    };
    const auto drawHeader = [&] {
        painter.setFont(boldFont);
        for (int c = 0; c < columns; ++c) {
            const QRectF cell(page.left() + c * columnWidth, y, columnWidth, headerHeight);
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap,
                             model.ColumnTitle(c));
        }
        y += headerHeight;
        painter.setFont(textFont);
    };
    const auto newPage = [&] {
        device.newPage();
        ++pages;
        y = page.top();
        drawHeader();
    };

    drawHeading();
    drawHeader();
    for (int r = 0; r < model.rowCount(); ++r) {
        if (y + rowHeight > page.bottom())
            newPage();
        for (int c = 0; c < columns; ++c) {
            const QRectF cell(page.left() + c * columnWidth, y, columnWidth, rowHeight);
            painter.drawRect(cell);
            QFont font = textFont;
            font.setStrikeOut(model.IsRepeatColumn(c) && model.CellAt(r, c).anomaly);
            painter.setFont(font);
            painter.drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignRight | Qt::TextWordWrap,
                             model.CellText(r, c));
        }
        y += rowHeight;
    }
    if (!graph.isNull()) {
        // The graph fills the page's width, at 4:3.
        const qreal width = page.width();
        const qreal height = width * 0.75;
        y += rowHeight;
        if (y + height > page.bottom()) {
            device.newPage();
            ++pages;
            y = page.top();
        }
        painter.drawPixmap(QRectF(page.left(), y, width, height), graph, QRectF(graph.rect()));
    }
    painter.end();
    return pages;
}

}  // namespace brv
