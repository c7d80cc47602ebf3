#include "runtime/raster/PolygonFill.h"

#include "runtime/raster/Blend.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <list>
#include <unordered_map>

namespace brv::raster {

void EdgeList::AddEdge(double x0, double y0, double x1, double y1)
{
    if (y0 == y1 || !std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return;
    int dir = 1;
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        dir = -1;
    }
    edges_.push_back({x0, y0, x1, y1, (x1 - x0) / (y1 - y0), dir});
}

void EdgeList::AddContour(const TFixedPoint* points, std::size_t count)
{
    if (count < 2)
        return;
    for (std::size_t i = 0; i < count; ++i) {
        const TFixedPoint& a = points[i];
        const TFixedPoint& b = points[(i + 1) % count];
        AddEdge(FixedToFloat(a.X), FixedToFloat(a.Y), FixedToFloat(b.X), FixedToFloat(b.Y));
    }
}

namespace {

struct Crossing {
    double x;
    int dir;
};

bool Inside(int winding, FillRule rule)
{
    return rule == FillRule::EvenOdd ? (winding & 1) != 0 : winding != 0;
}

// Rows [first, last) of the clip rectangle that the edges can reach: from
// firstRow(top of the highest edge) to endRow(bottom of the lowest).
template <typename FirstRow, typename EndRow>
bool RowRange(const std::vector<Edge>& edges, const TRect& clip, FirstRow firstRow, EndRow endRow, int& first,
              int& last)
{
    double minY = edges.front().y0, maxY = edges.front().y1;
    for (const Edge& e : edges) {
        minY = std::min(minY, e.y0);
        maxY = std::max(maxY, e.y1);
    }
    first = int(std::max<double>(clip.Top, firstRow(minY)));
    last = int(std::min<double>(clip.Bottom, endRow(maxY)));
    return first < last;
}

// Edges sorted by their top that take part in the current row.
class ActiveEdges {
public:
    explicit ActiveEdges(std::vector<Edge>& edges) : edges_(edges), active_(List())
    {
        std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
        active_.clear();
    }
    // Edges with y0 < top join, edges with y1 <= bottom leave.
    const std::vector<const Edge*>& Update(double joinBefore, double leaveAtOrBefore)
    {
        while (next_ < edges_.size() && edges_[next_].y0 < joinBefore)
            active_.push_back(&edges_[next_++]);
        std::erase_if(active_, [&](const Edge* e) { return e->y1 <= leaveAtOrBefore; });
        return active_;
    }

private:
    static std::vector<const Edge*>& List()
    {
        thread_local std::vector<const Edge*> list;  // kept from one fill to the next
        return list;
    }
    std::vector<Edge>& edges_;
    std::size_t next_ = 0;
    std::vector<const Edge*>& active_;
};

// A run of pixels of one row and its coverage (0..255), in bitmap
// coordinates: what a scan hands on to be blended.
struct Span {
    int y, x, count;
    unsigned coverage;
};

// --- aliased: pixel centres -------------------------------------------------

template <typename Emit>
void ScanAliased(const TRect& clip, std::vector<Edge>& edges, FillRule rule, Emit&& out)
{
    int first = 0, last = 0;
    auto centreRow = [](double y) { return std::ceil(y - 0.5); };
    if (!RowRange(edges, clip, centreRow, centreRow, first, last))
        return;
    ActiveEdges active(edges);
    thread_local std::vector<Crossing> crossings;
    for (int y = first; y < last; ++y) {
        const double yc = y + 0.5;
        const auto& row = active.Update(std::nextafter(yc, HUGE_VAL), yc);
        crossings.clear();
        for (const Edge* e : row)
            crossings.push_back({e->x0 + (yc - e->y0) * e->dxdy, e->dir});
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int winding = 0;
        double spanStart = 0;
        for (const Crossing& c : crossings) {
            const bool wasInside = Inside(winding, rule);
            winding += c.dir;
            const bool isInside = Inside(winding, rule);
            if (!wasInside && isInside) {
                spanStart = c.x;
            } else if (wasInside && !isInside) {
                const double from = std::max<double>(std::ceil(spanStart - 0.5), clip.Left);
                const double to = std::min<double>(std::ceil(c.x - 0.5), clip.Right);
                if (from < to)
                    out(y, int(from), int(to - from), 255u);
            }
        }
    }
}

// --- antialiased: exact area coverage ---------------------------------------

// Adds the signed area a line piece inside one pixel row covers to each cell
// of that row; a running sum of the cells then gives every pixel's coverage.
// x0, x1 are cell coordinates within [0, width]; height is the signed height
// of the piece (its direction gives the sign).
void AccumulatePiece(float* cells, double x0, double x1, double height)
{
    if (x0 > x1)
        std::swap(x0, x1);
    const int first = int(std::floor(x0));
    const int lastCeil = int(std::ceil(x1));
    if (lastCeil <= first + 1) {
        const double mid = 0.5 * (x0 + x1) - first;
        cells[first] += float(height * (1 - mid));
        cells[first + 1] += float(height * mid);
        return;
    }
    const double s = 1 / (x1 - x0);
    const double f0 = x0 - first;
    const double a0 = 0.5 * s * (1 - f0) * (1 - f0);
    const double f1 = x1 - lastCeil + 1;
    const double am = 0.5 * s * f1 * f1;
    cells[first] += float(height * a0);
    if (lastCeil == first + 2) {
        cells[first + 1] += float(height * (1 - a0 - am));
    } else {
        const double a1 = s * (1.5 - f0);
        cells[first + 1] += float(height * (a1 - a0));
        const float step = float(height * s);
        for (int i = first + 2; i < lastCeil - 1; ++i)
            cells[i] += step;
        const double a2 = a1 + (lastCeil - first - 3) * s;
        cells[lastCeil - 1] += float(height * (1 - a2 - am));
    }
    cells[lastCeil] += float(height * am);
}

class CoverageRow {
public:
    explicit CoverageRow(int width) : width_(width), cells_(Cells()), touched_(Touched())
    {
        cells_.assign(std::size_t(width) + 2, 0.0f);
        touched_.clear();
    }

    // A piece in row coordinates (0 = the clip rectangle's left edge); the
    // parts left of the row count at its left edge, those right of it not at
    // all.
    void Add(double x0, double x1, double height)
    {
        if (x0 > x1)
            std::swap(x0, x1);
        const double w = width_;
        if (x1 <= 0) {
            touch(0, 0);
            cells_[0] += float(height);
            return;
        }
        if (x0 >= w)
            return;
        const double span = x1 - x0;
        if (x0 < 0) {
            cells_[0] += float(height * (-x0 / span));
            touch(0, 0);
        }
        const double a = std::max(x0, 0.0), b = std::min(x1, w);
        touch(a, b);
        AccumulatePiece(cells_.data(), a, b, span > 0 ? height * (b - a) / span : height);
    }

    bool Empty() const { return touched_.empty(); }

    // Calls spans(from, to, coverage 0..255) for runs of equal coverage and
    // clears the cells.  Only the cells the pieces touched are visited:
    // between them the coverage stays as it is.
    template <typename Spans>
    void Sweep(FillRule rule, Spans&& spans)
    {
        std::sort(touched_.begin(), touched_.end());
        float* cells = cells_.data();
        double sum = 0;
        int runStart = 0, runCoverage = 0;
        int next = 0;  // the first cell not yet visited
        for (auto [from, to] : touched_) {
            for (int i = std::max(from, next); i <= to; ++i) {
                const float a = cells[i];
                if (a == 0)
                    continue;
                cells[i] = 0;
                if (i >= width_)
                    continue;  // right of the row: only cleared
                sum += a;
                const int c = CoverageByte(sum, rule);
                if (c != runCoverage) {
                    if (runCoverage > 0)
                        spans(runStart, i, runCoverage);
                    runStart = i;
                    runCoverage = c;
                }
            }
            next = std::max(next, to + 1);
        }
        if (runCoverage > 0)
            spans(runStart, width_, runCoverage);
        touched_.clear();
    }

private:
    static int CoverageByte(double sum, FillRule rule)
    {
        double v = std::abs(sum);
        if (rule == FillRule::NonZero) {
            v = std::min(v, 1.0);
        } else {
            v -= 2 * std::floor(v * 0.5);
            if (v > 1)
                v = 2 - v;
        }
        return int(v * 255 + 0.5);
    }
    // Cells [floor(a), floor(b) + 1] may have been written.
    void touch(double a, double b)
    {
        touched_.emplace_back(int(std::floor(a)), std::min(width_ + 1, int(std::floor(b)) + 1));
    }

    // kept from one fill to the next
    static std::vector<float>& Cells()
    {
        thread_local std::vector<float> cells;
        return cells;
    }
    static std::vector<std::pair<int, int>>& Touched()
    {
        thread_local std::vector<std::pair<int, int>> touched;
        return touched;
    }

    int width_;
    std::vector<float>& cells_;
    std::vector<std::pair<int, int>>& touched_;
};

template <typename Emit>
void ScanSmooth(const TRect& clip, std::vector<Edge>& edges, FillRule rule, Emit&& out)
{
    int first = 0, last = 0;
    auto floorRow = [](double y) { return std::floor(y); };
    auto ceilRow = [](double y) { return std::ceil(y); };
    if (!RowRange(edges, clip, floorRow, ceilRow, first, last))
        return;
    ActiveEdges active(edges);
    CoverageRow row(clip.Width());
    const double left = clip.Left;
    for (int y = first; y < last; ++y) {
        const double top = y, bottom = y + 1.0;
        for (const Edge* e : active.Update(bottom, top)) {
            const double ya = std::max(e->y0, top), yb = std::min(e->y1, bottom);
            if (yb <= ya)
                continue;
            const double xa = e->x0 + (ya - e->y0) * e->dxdy;
            const double xb = e->x0 + (yb - e->y0) * e->dxdy;
            row.Add(xa - left, xb - left, (yb - ya) * e->dir);
        }
        if (row.Empty())
            continue;
        row.Sweep(rule, [&](int from, int to, int coverage) {
            out(y, clip.Left + from, to - from, unsigned(coverage));
        });
    }
}

// The spans of the last fills, by their edges, rule and clip rectangle.  A
// picture is redrawn whole whenever one of its readings changes (and a
// benchmark redraws it over and over): its apparatus stays where it was, and
// a kept fill is blended again without being scanned.
class FillCache {
public:
    struct Key {
        std::vector<Edge> edges;  // as the caller gave them, before any sorting
        FillRule rule;
        bool antialiased;
        TRect clip;
    };

    static FillCache& Instance()
    {
        thread_local FillCache cache;
        return cache;
    }

    static std::uint64_t HashOf(const std::vector<Edge>& edges, FillRule rule, bool antialiased,
                                const TRect& clip)
    {
        std::uint64_t h = 0xcbf29ce484222325u;
        const auto mix = [&h](std::uint64_t v) {
            h ^= v;
            h *= 0x100000001b3u;
            h ^= h >> 29;
        };
        mix(std::uint64_t(rule) * 2 + (antialiased ? 1 : 0));
        mix((std::uint64_t(std::uint32_t(clip.Left)) << 32) | std::uint32_t(clip.Top));
        mix((std::uint64_t(std::uint32_t(clip.Right)) << 32) | std::uint32_t(clip.Bottom));
        for (const Edge& e : edges) {
            mix(std::bit_cast<std::uint64_t>(e.x0));
            mix(std::bit_cast<std::uint64_t>(e.y0));
            mix(std::bit_cast<std::uint64_t>(e.x1));
            mix(std::bit_cast<std::uint64_t>(e.y1));
            mix(std::uint64_t(std::int64_t(e.dir)));
        }
        return h;
    }

    // The spans kept for exactly these edges, rule and clip, or null.
    const std::vector<Span>* Find(std::uint64_t hash, const std::vector<Edge>& edges, FillRule rule,
                                  bool antialiased, const TRect& clip)
    {
        const auto found = index_.find(hash);
        if (found == index_.end())
            return nullptr;
        Entry& entry = *found->second;
        if (entry.key.rule != rule || entry.key.antialiased != antialiased || entry.key.clip != clip ||
            !std::equal(edges.begin(), edges.end(), entry.key.edges.begin(), entry.key.edges.end(), SameEdge))
            return nullptr;
        entries_.splice(entries_.begin(), entries_, found->second);
        return &entry.spans;
    }

    void Keep(std::uint64_t hash, Key key, std::vector<Span> spans)
    {
        if (spans.size() > MaxSpans / 8)
            return;
        if (const auto found = index_.find(hash); found != index_.end())
            drop(found->second);
        while (!entries_.empty() && (spans_ + spans.size() > MaxSpans || entries_.size() >= MaxFills))
            drop(std::prev(entries_.end()));
        spans_ += spans.size();
        entries_.push_front({hash, std::move(key), std::move(spans)});
        index_[hash] = entries_.begin();
    }

private:
    // Room for the fills of a few pictures: about 4 MB of spans.
    static constexpr std::size_t MaxSpans = std::size_t(1) << 18;
    static constexpr std::size_t MaxFills = 1024;

    struct Entry {
        std::uint64_t hash;
        Key key;
        std::vector<Span> spans;
    };

    static bool SameEdge(const Edge& a, const Edge& b)
    {
        return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1 && a.dir == b.dir;
    }

    void drop(std::list<Entry>::iterator it)
    {
        spans_ -= it->spans.size();
        index_.erase(it->hash);
        entries_.erase(it);
    }

    std::list<Entry> entries_;  // the latest used first
    std::unordered_map<std::uint64_t, std::list<Entry>::iterator> index_;
    std::size_t spans_ = 0;
};

}  // namespace

void FillEdges(TBitmap32& bitmap, std::vector<Edge>& edges, FillRule rule, bool antialiased, TColor32 color)
{
    const TRect clip = bitmap.ClipRect();
    if (edges.empty() || AlphaOf(color) == 0 || clip.IsEmpty())
        return;
    ClearWideRegisters();
    TColor32* const bits = bitmap.Bits();
    const std::size_t stride = std::size_t(bitmap.Width());
    const auto blend = [&](const Span& s) {
        BlendSpan(bits + std::size_t(s.y) * stride + s.x, s.count, color, CoveredAlpha(color, s.coverage));
    };

    FillCache& cache = FillCache::Instance();
    const std::uint64_t hash = FillCache::HashOf(edges, rule, antialiased, clip);
    if (const std::vector<Span>* kept = cache.Find(hash, edges, rule, antialiased, clip)) {
        for (const Span& s : *kept)
            blend(s);
        return;
    }
    FillCache::Key key{edges, rule, antialiased, clip};
    std::vector<Span> spans;
    const auto record = [&](int y, int x, int count, unsigned coverage) {
        spans.push_back({y, x, count, coverage});
        blend(spans.back());
    };
    if (antialiased)
        ScanSmooth(clip, edges, rule, record);
    else
        ScanAliased(clip, edges, rule, record);
    cache.Keep(hash, std::move(key), std::move(spans));
}

}  // namespace brv::raster
