// The table leaves the program: tab-separated text that pastes into a
// spreadsheet, a CSV file, and a printed page of the table and its graph.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QPixmap>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace brv {

class TResultsModel;

// One line per row, the header first; cells as the table shows them, in the
// locale of the program (a spreadsheet the pupil pastes into reads the same).
QString TableAsTsv(const TResultsModel& model);

// RFC 4180: UTF-8, CRLF line ends, a header row with names and units, "."
// decimals whatever the locale, a field quoted when it holds a comma, a quote
// or a line break, its quotes doubled.
QByteArray TableAsCsv(const TResultsModel& model);
QString CsvField(const QString& text);

struct TPrintHeading {
    QString experiment;  // "Bouncing ball experiment"
    QString question;
    QDateTime when;
};

// Paints the heading, the table and the graph picture on device, on as many
// pages as the rows need (the graph after the last row).  Returns the pages.
int PaintResultsPages(QPagedPaintDevice& device, const TResultsModel& model, const TPrintHeading& heading,
                      const QPixmap& graph);

}  // namespace brv
