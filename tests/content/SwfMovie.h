// A strict reader for the small uncompressed SWF movies of the lesson book and
// a renderer for what they use (DefineShape3 with solid fills and lines,
// PlaceObject2 / RemoveObject2 with matrices and colour transforms), so the
// tests can check the files tag by tag and look at their frames.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <QTransform>

#include <map>
#include <vector>

namespace brv::test::swf {

struct SubPath {
    int fill0 = 0;  // 1-based fill style index, 0 for none
    int fill1 = 0;
    int line = 0;       // 1-based line style index
    QPainterPath path;  // in pixels
    bool closed = false;
};

struct LineStyle {
    double width = 0;  // pixels
    QColor colour;
};

struct ShapeDef {
    QRectF bounds;
    std::vector<QColor> fills;
    std::vector<LineStyle> lines;
    std::vector<SubPath> paths;
};

struct ColourMultiply {
    double r = 1, g = 1, b = 1, a = 1;
};

struct Placed {
    int character = 0;
    QTransform matrix;  // pixels
    ColourMultiply colour;
};

using DisplayList = std::map<int, Placed>;  // by depth

struct Movie {
    int version = 0;
    quint32 declaredLength = 0;
    QRectF frameSize;  // pixels
    double frameRate = 0;
    int declaredFrameCount = 0;
    QColor background = Qt::white;
    std::vector<int> tagCodes;  // in file order, End included
    std::map<int, ShapeDef> shapes;
    std::vector<DisplayList> frames;  // the display list at each ShowFrame
};

// Reads data; on any fault returns false and says why in error.
bool Parse(const QByteArray& data, Movie& movie, QString& error);

// Draws frame index of movie into an image of the movie's frame size.
QImage RenderFrame(const Movie& movie, int index);

}  // namespace brv::test::swf
