#include "controls/UTesselator.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Point
{
    float x;
    float y;
};

// Whether p lies inside or on the triangle abc (counter-clockwise), each
// cross product in single precision.
bool insideTriangle(const Point &a, const Point &b, const Point &c, const Point &p)
{
    const float abx = c.x - b.x;
    const float aby = c.y - b.y;
    const float bcx = a.x - c.x;
    const float bcy = a.y - c.y;
    const float cax = b.x - a.x;
    const float cay = b.y - a.y;
    const float crossB = abx * (p.y - b.y) - aby * (p.x - b.x);
    const float crossC = bcx * (p.y - c.y) - bcy * (p.x - c.x);
    const float crossA = cax * (p.y - a.y) - cay * (p.x - a.x);
    return crossB >= 0.0f && crossC >= 0.0f && crossA >= 0.0f;
}

// The contour's points in buckets, so that an ear test looks only at the
// points near its triangle instead of at every remaining point. The answer
// is the same as scanning them all: the area searched is the triangle
// widened by a bound on what single-precision rounding can let pass as
// inside.
class PointGrid
{
public:
    PointGrid(const std::vector<Point> &points, double reach)
        : m_points(points), m_alive(points.size(), true)
    {
        // Rounding of a cross product between points within reach of the
        // origin moves a point by at most this much across an edge.
        m_slack = std::ldexp(reach, -18) + 1e-30;
        rebuild();
    }

    // Buckets the live points anew, about one to a cell, the cells following
    // the shape of the points' box.
    void rebuild()
    {
        std::vector<int> live;
        for (int i = 0; i < int(m_points.size()); ++i) {
            if (m_alive[i])
                live.push_back(i);
        }
        const int count = int(live.size());
        m_bucketed = count;
        m_left = m_right = m_points[live.front()].x;
        m_top = m_bottom = m_points[live.front()].y;
        for (int i : live) {
            m_left = std::min(m_left, double(m_points[i].x));
            m_right = std::max(m_right, double(m_points[i].x));
            m_top = std::min(m_top, double(m_points[i].y));
            m_bottom = std::max(m_bottom, double(m_points[i].y));
        }
        const double width = m_right - m_left;
        const double height = m_bottom - m_top;
        const double side = std::sqrt(std::max(width * height, 0.0) / count);
        m_columns = side > 0.0 ? std::clamp(int(width / side), 1, count) : 1;
        m_rows = side > 0.0 ? std::clamp(int(height / side), 1, count) : 1;
        if (side <= 0.0 && width > 0.0)
            m_columns = count;
        else if (side <= 0.0 && height > 0.0)
            m_rows = count;
        m_cellWidth = width > 0.0 ? width / m_columns : 1.0;
        m_cellHeight = height > 0.0 ? height / m_rows : 1.0;

        std::vector<int> cellOf(static_cast<size_t>(count));
        m_starts.assign(size_t(m_columns) * size_t(m_rows) + 1, 0);
        for (int k = 0; k < count; ++k) {
            const Point &p = m_points[live[k]];
            cellOf[k] = row(p.y) * m_columns + column(p.x);
            ++m_starts[cellOf[k] + 1];
        }
        for (size_t cell = 1; cell < m_starts.size(); ++cell)
            m_starts[cell] += m_starts[cell - 1];
        m_members.resize(size_t(count));
        std::vector<int> filled(m_starts.begin(), m_starts.end() - 1);
        for (int k = 0; k < count; ++k)
            m_members[filled[cellOf[k]]++] = live[k];
    }

    // How many points the buckets were last filled with.
    int bucketed() const { return m_bucketed; }
    void remove(int index) { m_alive[index] = false; }

    // Whether any live point other than the corners lies in or on abc.
    bool anyInside(int ia, int ib, int ic) const
    {
        const Point &a = m_points[ia];
        const Point &b = m_points[ib];
        const Point &c = m_points[ic];
        // Every point the test can take as inside lies in the triangle with
        // its edges pushed out by twice the slack; only the cells that
        // triangle reaches are searched, row by row, so a long slanted
        // triangle costs no more than its own area.
        // A few points are quicker to test than to locate.
        Corner wide[3];
        const bool shaped = m_bucketed > 48 && widen(a, b, c, 2.0 * m_slack, wide);
        const double pad = m_slack;
        const int top = shaped ? row(std::min({wide[0].y, wide[1].y, wide[2].y}) - pad) : 0;
        const int bottom =
            shaped ? row(std::max({wide[0].y, wide[1].y, wide[2].y}) + pad) : m_rows - 1;
        for (int r = top; r <= bottom; ++r) {
            double from = -HUGE_VAL;
            double to = HUGE_VAL;
            if (shaped) {
                const double low = m_top + r * m_cellHeight - pad;
                const double high = low + m_cellHeight + 2.0 * pad;
                from = HUGE_VAL;
                to = -HUGE_VAL;
                for (int i = 0; i < 3; ++i)
                    span(wide[i], wide[(i + 1) % 3], low, high, from, to);
                if (from > to)
                    continue;
            }
            const int right = column(to + pad);
            for (int col = column(from - pad); col <= right; ++col) {
                const int cell = r * m_columns + col;
                for (int k = m_starts[cell]; k < m_starts[cell + 1]; ++k) {
                    const int index = m_members[k];
                    if (!m_alive[index] || index == ia || index == ib || index == ic)
                        continue;
                    if (insideTriangle(a, b, c, m_points[index]))
                        return true;
                }
            }
        }
        return false;
    }

private:
    struct Corner
    {
        double x;
        double y;
    };

    // The counter-clockwise triangle abc with each edge moved outward by
    // distance; false when it has no finite shape (too flat).
    static bool widen(const Point &a, const Point &b, const Point &c, double distance,
                      Corner wide[3])
    {
        const Point *corners[3] = {&a, &b, &c};
        double nx[3];
        double ny[3];
        for (int i = 0; i < 3; ++i) {
            const double dx = double(corners[(i + 1) % 3]->x) - corners[i]->x;
            const double dy = double(corners[(i + 1) % 3]->y) - corners[i]->y;
            const double length = std::sqrt(dx * dx + dy * dy);
            if (!(length > 0.0))
                return false;
            nx[i] = dy / length; // outward: the inside is on the left
            ny[i] = -dx / length;
        }
        for (int i = 0; i < 3; ++i) {
            const int before = (i + 2) % 3;
            // Along the bisector, to where both moved edges meet.
            const double turn = 1.0 + nx[before] * nx[i] + ny[before] * ny[i];
            if (!(turn > 1e-12))
                return false;
            wide[i] = {corners[i]->x + distance * (nx[before] + nx[i]) / turn,
                       corners[i]->y + distance * (ny[before] + ny[i]) / turn};
            if (!std::isfinite(wide[i].x) || !std::isfinite(wide[i].y))
                return false;
        }
        return true;
    }

    // Widens [from, to] to the x the edge p-q takes between the heights low
    // and high.
    static void span(const Corner &p, const Corner &q, double low, double high, double &from,
                     double &to)
    {
        const bool rising = p.y <= q.y;
        const Corner &first = rising ? p : q;
        const Corner &last = rising ? q : p;
        if (last.y < low || first.y > high)
            return;
        const double y0 = std::max(first.y, low);
        const double y1 = std::min(last.y, high);
        const double rise = last.y - first.y;
        const double run = last.x - first.x;
        const double x0 = rise > 0.0 ? first.x + run * ((y0 - first.y) / rise) : first.x;
        const double x1 = rise > 0.0 ? first.x + run * ((y1 - first.y) / rise) : last.x;
        from = std::min({from, x0, x1});
        to = std::max({to, x0, x1});
    }

    static int bucket(double offset, double size, int count)
    {
        const double cell = std::floor(offset / size);
        if (!(cell > 0.0))
            return 0;
        return cell >= count - 1 ? count - 1 : int(cell);
    }

    int column(double x) const { return bucket(x - m_left, m_cellWidth, m_columns); }
    int row(double y) const { return bucket(y - m_top, m_cellHeight, m_rows); }

    const std::vector<Point> &m_points;
    double m_left;
    double m_right;
    double m_top;
    double m_bottom;
    int m_columns = 1;
    int m_rows = 1;
    double m_cellWidth = 1.0;
    double m_cellHeight = 1.0;
    double m_slack = 0.0;
    std::vector<int> m_starts;
    std::vector<int> m_members;
    std::vector<char> m_alive;
    int m_bucketed = 0;
};

float signedArea(const std::vector<Point> &points)
{
    const size_t count = points.size();
    float sum = 0.0f;
    for (size_t previous = count - 1, i = 0; i < count; previous = i++)
        sum += points[previous].x * points[i].y - points[i].x * points[previous].y;
    return sum * 0.5f;
}

} // namespace

UTesselator *UTesselator::instance()
{
    // Initialised once even when the render thread asks first.
    static UTesselator tesselator;
    return &tesselator;
}

UTesselator::~UTesselator() = default;

float UTesselator::area(const QVector<QPointF> &contour) const
{
    if (contour.isEmpty())
        return 0.0f;
    std::vector<Point> points;
    points.reserve(size_t(contour.size()));
    for (const QPointF &p : contour)
        points.push_back({float(p.x()), float(p.y())});
    return signedArea(points);
}

bool UTesselator::triangulate(const QVector<QPointF> &contour, QVector<QPointF> *triangles) const
{
    const int count = contour.size();
    if (count < 3 || !triangles)
        return false;
    std::vector<Point> points;
    points.reserve(size_t(count));
    double reach = 0.0;
    for (const QPointF &p : contour) {
        const Point point{float(p.x()), float(p.y())};
        if (!std::isfinite(point.x) || !std::isfinite(point.y))
            return false;
        reach = std::max({reach, std::fabs(double(point.x)), std::fabs(double(point.y))});
        points.push_back(point);
    }
    if (reach > MaxReach)
        return false;

    // The remaining vertices as a ring in counter-clockwise order. Stepping
    // round the ring visits them as the classic index list does, wrapping to
    // its start, without shifting the list at every clipped ear.
    const bool forward = signedArea(points) > 0.0f;
    std::vector<int> next(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        const int vertex = forward ? k : count - 1 - k;
        const int after = forward ? (k + 1) % count : count - 1 - (k + 1) % count;
        next[vertex] = after;
    }
    PointGrid grid(points, reach);

    QVector<QPointF> clipped;
    clipped.reserve(3 * (count - 2));
    int remaining = count;
    int budget = 2 * remaining;
    int v = forward ? count - 1 : 0; // the last of the ordered list
    while (remaining > 2) {
        if (budget-- <= 0)
            return false; // not simple: no ear left
        const int u = v;
        v = next[u];
        const int w = next[v];
        const Point &a = points[u];
        const Point &b = points[v];
        const Point &c = points[w];
        // A reflex or flat corner is no ear, nor one with a point on it.
        if (1e-10f > (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x))
            continue;
        if (grid.anyInside(u, v, w))
            continue;
        clipped << QPointF(a.x, a.y) << QPointF(b.x, b.y) << QPointF(c.x, c.y);
        next[u] = w;
        grid.remove(v);
        v = w;
        --remaining;
        budget = 2 * remaining;
        // Ears grow as the polygon shrinks: keep about one point to a cell.
        if (remaining >= 64 && 2 * remaining <= grid.bucketed())
            grid.rebuild();
    }
    triangles->append(clipped);
    return true;
}
