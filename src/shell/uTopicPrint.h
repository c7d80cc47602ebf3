// Printing a lesson topic: the engine's PDF of the page drawn onto the
// printer, a paper page each, with the topic's title, page count, address and
// date in the margins.
#pragma once

#include <QString>

class QPrinter;
class QByteArray;

namespace brv {

// The margin of every printed topic page, all round.
constexpr double kTopicMarginMm = 19.05;

// Page title, address and date printed around each page of a topic.
struct TTopicPrintInfo {
    QString title;
    QString address;
    QString date;
};

// Draws the pages of pdf (the topic as the engine printed it, margins
// included) onto printer, one paper page each, with the title and "Page p of
// P" in the top margin and the address and date in the bottom margin.  The
// printer must be set to full-page mode.  Returns the number of pages drawn;
// 0 when pdf cannot be read.
int PaintTopicPages(QPrinter& printer, const QByteArray& pdf, const TTopicPrintInfo& info);

}  // namespace brv
