#include "content/SwfMovie.h"

#include <QPainter>

#include <algorithm>

#include <stdexcept>

namespace brv::test::swf {

namespace {

constexpr double kTwips = 20.0;

enum Tag : int {
    kEnd = 0,
    kShowFrame = 1,
    kSetBackgroundColor = 9,
    kPlaceObject2 = 26,
    kRemoveObject2 = 28,
    kDefineShape3 = 32,
    kFileAttributes = 69,
};

struct Fault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Byte and bit-field reader over one span of the file; bit fields are read
// most significant bit first and a byte read realigns, as the format says.
class Reader {
public:
    Reader(const QByteArray& data, qsizetype begin, qsizetype end) : data_(data), pos_(begin), end_(end) {}

    qsizetype Pos() const { return pos_; }

    quint8 U8()
    {
        Align();
        if (pos_ >= end_)
            throw Fault("read past the end of a record");
        return static_cast<quint8>(data_[pos_++]);
    }
    quint16 U16()
    {
        quint16 lo = U8();
        return static_cast<quint16>(lo | (U8() << 8));
    }
    quint32 U32()
    {
        quint32 lo = U16();
        return lo | (static_cast<quint32>(U16()) << 16);
    }

    quint32 UB(int n)
    {
        quint32 v = 0;
        for (int i = 0; i < n; ++i) {
            if (bits_ == 0) {
                if (pos_ >= end_)
                    throw Fault("bit field runs past the end of a record");
                current_ = static_cast<quint8>(data_[pos_++]);
                bits_ = 8;
            }
            --bits_;
            v = (v << 1) | ((current_ >> bits_) & 1u);
        }
        return v;
    }
    qint32 SB(int n)
    {
        if (n == 0)
            return 0;
        quint32 v = UB(n);
        if (v & (1u << (n - 1)))
            v |= ~((1u << n) - 1u);
        return static_cast<qint32>(v);
    }
    void Align() { bits_ = 0; }

private:
    const QByteArray& data_;
    qsizetype pos_;
    qsizetype end_;
    quint8 current_ = 0;
    int bits_ = 0;
};

QRectF ReadRect(Reader& r)
{
    const int n = static_cast<int>(r.UB(5));
    const double x0 = r.SB(n), x1 = r.SB(n), y0 = r.SB(n), y1 = r.SB(n);
    r.Align();
    return QRectF(QPointF(x0 / kTwips, y0 / kTwips), QPointF(x1 / kTwips, y1 / kTwips));
}

QColor ReadRgba(Reader& r)
{
    const int red = r.U8(), green = r.U8(), blue = r.U8(), alpha = r.U8();
    return QColor(red, green, blue, alpha);
}

QTransform ReadMatrix(Reader& r)
{
    double a = 1, d = 1, b = 0, c = 0;
    if (r.UB(1)) {
        const int n = static_cast<int>(r.UB(5));
        a = r.SB(n) / 65536.0;
        d = r.SB(n) / 65536.0;
    }
    if (r.UB(1)) {
        const int n = static_cast<int>(r.UB(5));
        b = r.SB(n) / 65536.0;
        c = r.SB(n) / 65536.0;
    }
    const int n = static_cast<int>(r.UB(5));
    const double tx = r.SB(n) / kTwips, ty = r.SB(n) / kTwips;
    r.Align();
    // x' = a x + c y + tx, y' = b x + d y + ty
    return QTransform(a, b, c, d, tx, ty);
}

ColourMultiply ReadColourTransform(Reader& r)
{
    const bool add = r.UB(1) != 0;
    const bool mult = r.UB(1) != 0;
    const int n = static_cast<int>(r.UB(4));
    ColourMultiply m;
    if (mult) {
        m.r = r.SB(n) / 256.0;
        m.g = r.SB(n) / 256.0;
        m.b = r.SB(n) / 256.0;
        m.a = r.SB(n) / 256.0;
    }
    if (add)
        throw Fault("colour transforms with add terms are not used by the book");
    r.Align();
    return m;
}

ShapeDef ReadShape3(Reader& r)
{
    ShapeDef s;
    s.bounds = ReadRect(r);
    int fills = r.U8();
    if (fills == 0xFF)
        fills = r.U16();
    for (int i = 0; i < fills; ++i) {
        if (r.U8() != 0x00)
            throw Fault("only solid fills are expected");
        s.fills.push_back(ReadRgba(r));
    }
    int lines = r.U8();
    if (lines == 0xFF)
        lines = r.U16();
    for (int i = 0; i < lines; ++i) {
        LineStyle l;
        l.width = r.U16() / kTwips;
        l.colour = ReadRgba(r);
        s.lines.push_back(l);
    }
    const int fillBits = static_cast<int>(r.UB(4));
    const int lineBits = static_cast<int>(r.UB(4));

    // The pen is kept in whole twips so that a closed outline meets its start
    // exactly.
    QPoint pen;
    QPoint start;
    SubPath current;
    auto pixels = [](QPoint p) { return QPointF(p.x() / kTwips, p.y() / kTwips); };
    bool open = false;
    auto finish = [&] {
        if (!open)
            return;
        current.closed = current.path.elementCount() > 1 && pen == start;
        if ((current.fill0 || current.fill1) && !current.closed)
            throw Fault("a filled outline is not closed");
        s.paths.push_back(current);
        open = false;
    };
    for (;;) {
        if (r.UB(1) == 0) {
            const bool newStyles = r.UB(1), lineStyle = r.UB(1), fill1 = r.UB(1), fill0 = r.UB(1),
                       moveTo = r.UB(1);
            if (!newStyles && !lineStyle && !fill1 && !fill0 && !moveTo)
                break;
            if (newStyles)
                throw Fault("new style arrays inside a shape are not used by the book");
            SubPath next = current;
            next.path = QPainterPath();
            QPoint at = pen;
            if (moveTo) {
                const int n = static_cast<int>(r.UB(5));
                const int x = r.SB(n), y = r.SB(n);
                at = QPoint(x, y);
            }
            if (fill0)
                next.fill0 = static_cast<int>(r.UB(fillBits));
            if (fill1)
                next.fill1 = static_cast<int>(r.UB(fillBits));
            if (lineStyle)
                next.line = static_cast<int>(r.UB(lineBits));
            if (next.fill0 > fills || next.fill1 > fills || next.line > lines)
                throw Fault("a style index beyond the style arrays");
            finish();
            current = next;
            pen = start = at;
            current.path.moveTo(pixels(pen));
            open = true;
            continue;
        }
        if (!open)
            throw Fault("an edge before the first move");
        const bool straight = r.UB(1) != 0;
        const int n = static_cast<int>(r.UB(4)) + 2;
        if (straight) {
            int dx = 0, dy = 0;
            if (r.UB(1)) {
                dx = r.SB(n);
                dy = r.SB(n);
            } else if (r.UB(1)) {
                dy = r.SB(n);
            } else {
                dx = r.SB(n);
            }
            pen += QPoint(dx, dy);
            current.path.lineTo(pixels(pen));
        } else {
            const int cdx = r.SB(n), cdy = r.SB(n), adx = r.SB(n), ady = r.SB(n);
            const QPoint control = pen + QPoint(cdx, cdy);
            pen = control + QPoint(adx, ady);
            current.path.quadTo(pixels(control), pixels(pen));
        }
    }
    finish();
    r.Align();
    return s;
}

}  // namespace

bool Parse(const QByteArray& data, Movie& movie, QString& error)
{
    try {
        if (data.size() < 21 || !data.startsWith("FWS"))
            throw Fault("not an uncompressed SWF file (no FWS signature)");
        Reader head(data, 3, data.size());
        movie.version = head.U8();
        movie.declaredLength = head.U32();
        if (movie.declaredLength != static_cast<quint32>(data.size()))
            throw Fault("the header's file length differs from the file's size");
        movie.frameSize = ReadRect(head);
        movie.frameRate = head.U16() / 256.0;
        movie.declaredFrameCount = head.U16();

        qsizetype pos = head.Pos();
        DisplayList shown;
        for (;;) {
            Reader tagHead(data, pos, data.size());
            const quint16 codeAndLength = tagHead.U16();
            const int code = codeAndLength >> 6;
            qsizetype length = codeAndLength & 0x3F;
            if (length == 0x3F)
                length = tagHead.U32();
            const qsizetype begin = tagHead.Pos();
            const qsizetype end = begin + length;
            if (end > data.size())
                throw Fault(QStringLiteral("tag %1 runs past the end of the file").arg(code).toStdString());
            movie.tagCodes.push_back(code);
            Reader r(data, begin, end);
            bool skipped = false;
            switch (code) {
                case kEnd:
                    break;
                case kShowFrame:
                    movie.frames.push_back(shown);
                    break;
                case kSetBackgroundColor: {
                    const int red = r.U8(), green = r.U8(), blue = r.U8();
                    movie.background = QColor(red, green, blue);
                    break;
                }
                case kFileAttributes:
                    r.U32();
                    break;
                case kDefineShape3: {
                    const int id = r.U16();
                    if (movie.shapes.count(id))
                        throw Fault("a character id is defined twice");
                    movie.shapes[id] = ReadShape3(r);
                    break;
                }
                case kPlaceObject2: {
                    const int flags = r.U8();
                    const int depth = r.U16();
                    const bool move = flags & 0x01, hasCharacter = flags & 0x02, hasMatrix = flags & 0x04,
                               hasColour = flags & 0x08;
                    if (flags & 0xF0)
                        throw Fault("PlaceObject2 with ratio, name, clip depth or clip actions");
                    const bool occupied = shown.count(depth) != 0;
                    if (move && !occupied)
                        throw Fault("a move of an empty depth");
                    if (!move && occupied)
                        throw Fault("a new object placed on an occupied depth");
                    if (!move && !hasCharacter)
                        throw Fault("a new object without a character");
                    Placed p = move ? shown[depth] : Placed{};
                    if (hasCharacter) {
                        p.character = r.U16();
                        if (!movie.shapes.count(p.character))
                            throw Fault("an object of a character not yet defined");
                    }
                    if (hasMatrix)
                        p.matrix = ReadMatrix(r);
                    if (hasColour)
                        p.colour = ReadColourTransform(r);
                    shown[depth] = p;
                    break;
                }
                case kRemoveObject2: {
                    const int depth = r.U16();
                    if (!shown.erase(depth))
                        throw Fault("a removal of an empty depth");
                    break;
                }
                default:
                    skipped = true;  // other tags are skipped whole
                    break;
            }
            if (!skipped && r.Pos() != end)
                throw Fault(QStringLiteral("tag %1 is not read to its end").arg(code).toStdString());
            pos = end;
            if (code == kEnd)
                break;
        }
        if (pos != data.size())
            throw Fault("bytes after the End tag");
    } catch (const Fault& f) {
        error = QString::fromStdString(f.what());
        return false;
    }
    return true;
}

QImage RenderFrame(const Movie& movie, int index)
{
    QImage image(movie.frameSize.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(movie.background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& [depth, placed] : movie.frames.at(index)) {
        const ShapeDef& shape = movie.shapes.at(placed.character);
        painter.setTransform(placed.matrix);
        auto tint = [&](QColor c) {
            return QColor::fromRgbF(std::clamp(c.redF() * placed.colour.r, 0.0, 1.0),
                                    std::clamp(c.greenF() * placed.colour.g, 0.0, 1.0),
                                    std::clamp(c.blueF() * placed.colour.b, 0.0, 1.0),
                                    std::clamp(c.alphaF() * placed.colour.a, 0.0, 1.0));
        };
        for (const SubPath& p : shape.paths) {
            const int fill = p.fill1 ? p.fill1 : p.fill0;
            if (fill)
                painter.fillPath(p.path, tint(shape.fills[fill - 1]));
            if (p.line) {
                const LineStyle& l = shape.lines[p.line - 1];
                QPen pen(tint(l.colour), l.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
                painter.strokePath(p.path, pen);
            }
        }
    }
    return image;
}

}  // namespace brv::test::swf
