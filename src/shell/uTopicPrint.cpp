#include "shell/uTopicPrint.h"

#include "runtime/BRV_StrConstants.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>

#include <algorithm>

namespace brv {

namespace {

// Pages are rendered for printing at no more than this many dots per inch: a
// 1200 dpi page would cost half a gigabyte as a picture and print no better.
constexpr int MaxTopicRenderDpi = 300;

// The rectangle of size fitted into bounds, aspect kept, centred.
QRectF FitCentred(const QSizeF& size, const QRectF& bounds)
{
    if (size.isEmpty())
        return bounds;
    const QSizeF fitted = size.scaled(bounds.size(), Qt::KeepAspectRatio);
    QRectF r(QPointF(0, 0), fitted);
    r.moveCenter(bounds.center());
    return r;
}

// The engine leaves the margins of its pages transparent; on white paper
// their anti-aliased edges would print as grey lines.
QImage RenderOnWhite(QPdfDocument& document, int page, const QSize& pixels)
{
    QImage sheet(pixels, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.drawImage(0, 0, document.render(page, pixels));
    return sheet;
}

void DrawMarginTexts(QPainter& painter, const QRectF& band, const QString& left, const QString& right)
{
    const QFontMetricsF metrics(painter.font());
    const qreal rightWidth = metrics.horizontalAdvance(right);
    const qreal leftWidth = std::max<qreal>(0, band.width() - rightWidth - metrics.averageCharWidth() * 4);
    painter.drawText(band, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(left, Qt::ElideRight, leftWidth));
    painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter, right);
}

}  // namespace

int PaintTopicPages(QPrinter& printer, const QByteArray& pdf, const TTopicPrintInfo& info)
{
    QByteArray bytes = pdf;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    const int pages = document.status() == QPdfDocument::Status::Ready ? document.pageCount() : 0;
    if (pages <= 0)
        return 0;

    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const int resolution = printer.resolution();
    const QRectF paper = printer.pageLayout().fullRectPixels(resolution);
    const qreal margin = kTopicMarginMm / 25.4 * resolution;
    const int renderDpi = std::min(resolution, MaxTopicRenderDpi);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    // The header and footer sit in the middle of the top and bottom margins.
    const QRectF header(margin, margin * 0.25, paper.width() - 2 * margin, margin * 0.5);
    const QRectF footer(margin, paper.height() - margin * 0.75, paper.width() - 2 * margin, margin * 0.5);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            printer.newPage();
        const QSizeF points = document.pagePointSize(p);
        const QSize pixels = (points * renderDpi / 72.0).toSize();
        painter.drawImage(FitCentred(points, paper), RenderOnWhite(document, p, pixels));
        DrawMarginTexts(painter, header, info.title, str::sPrintPageOfPages().arg(p + 1).arg(pages));
        DrawMarginTexts(painter, footer, info.address, info.date);
    }
    painter.end();
    return pages;
}

}  // namespace brv
