#include "gui/views/sketchgeometry.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace SketchGeometry {

namespace {

// The numbers are written as the tree writes its own: in the C locale
// whatever the user's, and with an exact tie (22.25 to three digits) rounded
// the same way.
constexpr const char *kThicknessFormat = "%11.5g";
constexpr const char *kAngleFormat = "%+.3g";
constexpr const char *kPositionFormat = "%3d";
// The widest angle three digits write without zeros after the point: the
// angle column holds it and two blanks.
constexpr double kWidestAngle = -0.125;

std::string Format(const char *format, double value) { return QString::asprintf(format, value).toStdString(); }

std::string Format(const char *format, int value) { return QString::asprintf(format, value).toStdString(); }

// The toolkit's rounding of a text's width.
int Round(double width) { return static_cast<int>(std::floor(width + 0.5)); }

// Blanks in front until the field is at least target wide (its width in
// width); stops when a blank adds nothing, so a font without width for it
// cannot hang the sketch.
std::string PadLeft(const std::string &field, int target, const CharWidths &widths, int &width)
{
    double exact = widths.Exact(field);
    width = Round(exact);
    size_t blanks = 0;
    while (width < target) {
        const int wider = Round(exact + widths.Advance(' '));
        if (wider <= width)
            break;
        exact += widths.Advance(' ');
        width = wider;
        ++blanks;
    }
    return std::string(blanks, ' ') + field;
}

int Trunc(double value) { return static_cast<int>(value); }

} // namespace

std::vector<Line> FibreLines(int x, int y, int width, int height, float angle, int spacing)
{
    std::vector<Line> lines;
    const int whole = static_cast<int>(angle);
    if (std::abs(whole) <= 2) {
        for (int k = 1; k <= height / 7; ++k)
            lines.push_back({x + 1, y + 7 * k, x + width - 1, y + 7 * k});
        return lines;
    }
    const double r = std::fabs(static_cast<double>(angle)) * 0.017453292;
    const double s = std::sin(r), c = std::cos(r), m = -std::tan(r);
    const int p0x = Trunc(x - height * s * c), p0y = Trunc(y + height * s * s);
    const int p1x = Trunc(x + width * s * s), p1y = Trunc(y + height + width * s * c);
    const int dx = std::abs(p1x - p0x), dy = std::abs(p1y - p0y);
    const int n = std::max((dx + dy) / std::max(spacing, 1), 4);
    const double left = x, right = x + width - 1, top = y, bottom = y + height;
    for (int k = 1; k < n; ++k) {
        const int cx = p0x + k * dx / n, cy = p0y + k * dy / n;
        const double xb = (bottom - 1 - cy) / m + cx, xt = (top + 1 - cy) / m + cx;
        double x1 = xb, x2 = xt, y1, y2;
        if (angle > 0) {
            y1 = bottom - 1;
            y2 = top + 1;
            if (xb < left) {
                x1 = left + 1;
                y1 = bottom + (left + 1 - xb) * m;
            }
            if (xt > right) {
                x2 = right;
                y2 = top + (right - xt) * m;
            }
        } else {
            y1 = top + 1;
            y2 = bottom - 1;
            if (xb < left) {
                x1 = left + 1;
                y1 = top - (left + 1 - xb) * m;
            }
            if (xt > right) {
                x2 = right;
                y2 = bottom - (right - xt) * m;
            }
        }
        if (std::abs(whole) > 89.5)
            x2 = x1;
        lines.push_back({Trunc(x1), Trunc(y1), Trunc(x2), Trunc(y2)});
    }
    return lines;
}

bool WhiteHatch(int red, int green, int blue)
{
    return std::sqrt(double(red) * red + double(green) * green + double(blue) * blue) <= 100.0;
}

int RowHeight(bool fixed, int plySize, float maxThickness, float thickness)
{
    if (fixed)
        return kFixedRowHeight;
    // No thickness to scale against, or a value past any screen: keep the
    // row drawable rather than feed NaN or infinity to the layout.
    if (!(maxThickness > 0.0f))
        return kMinRowHeight;
    const double height = (plySize + 2.0) * thickness / maxThickness;
    if (!(height >= kMinRowHeight))
        return kMinRowHeight;
    return Trunc(std::min(height, 1e7));
}

int LabelOffset(int rowHeight) { return rowHeight > 9 ? rowHeight / 3 - 3 : 0; }

Columns ComputeColumns(const Measure &measure, const std::string headings[3])
{
    Columns columns;
    const int heading0 = measure(headings[0]);
    columns.end[0] = std::max(measure(Format(kThicknessFormat, 1.0)) + 10, heading0);
    columns.headingX[0] = columns.end[0] - heading0;
    const int fieldWidth[2] = {measure("  " + Format(kAngleFormat, kWidestAngle)),
                               measure("  " + Format(kPositionFormat, 1))};
    for (int i = 1; i < 3; ++i) {
        const int heading = measure(headings[i]);
        columns.end[i] = columns.end[i - 1] + fieldWidth[i - 1];
        columns.headingX[i] = columns.end[i] - heading;
        if (columns.headingX[i] < columns.end[i - 1] + 10) {
            columns.headingX[i] = columns.end[i - 1] + 10;
            columns.end[i] = columns.headingX[i] + heading;
        }
    }
    return columns;
}

CharWidths::CharWidths(const std::function<double(char)> &advance)
{
    for (char c = ' '; c <= '~'; ++c) {
        const double a = advance(c);
        // Capped so that no label's width can overflow an int.
        advance_[static_cast<unsigned char>(c)] = std::isfinite(a) && a > 0 ? std::min(a, 1e6) : 0.0;
    }
}

double CharWidths::Advance(char c) const
{
    const auto index = static_cast<unsigned char>(c);
    return index < advance_.size() ? advance_[index] : 0.0;
}

double CharWidths::Exact(const std::string &text) const
{
    double width = 0.0;
    for (const char c : text)
        width += Advance(c);
    return width;
}

int CharWidths::Width(const std::string &text) const { return Round(Exact(text)); }

std::string DataLabel(float thickness, float angle, int position, const int columnEnd[3], const CharWidths &widths)
{
    int w0 = 0, w1 = 0, w2 = 0;
    const std::string f0 = PadLeft(Format(kThicknessFormat, double(thickness)), columnEnd[0] - 3, widths, w0);
    const std::string f1 = PadLeft(Format(kAngleFormat, double(angle)), columnEnd[1] - w0 - 3, widths, w1);
    const std::string f2 = PadLeft(Format(kPositionFormat, position), columnEnd[2] - (w0 + w1) - 3, widths, w2);
    return f0 + f1 + f2;
}

Layout LayOut(const std::vector<Row> &rows, const LayoutInput &in)
{
    Layout out;
    const double maxT = in.maxThickness, offset = in.offset;
    int y = (offset < 0 && -offset > maxT) ? 80 : 20;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].child && i > 0 && rows[i - 1].child && !out.separatorShown) {
            y += in.labelGap;
            out.separatorShown = true;
            out.separatorY = y;
            y += in.labelGap + in.rowGap;
        }
        out.rowY.push_back(y);
        y += rows[i].height + in.rowGap;
    }
    out.bottom = rows.empty() ? y : out.rowY.back() + rows.back().height;
    if (rows.empty())
        return out;

    const double tolerance = maxT > 1e-7 ? maxT * 1e-5 : 1e-7;
    if (!in.fullView && offset < -tolerance - maxT / 2)
        return out; // in the upper half, which is not drawn
    out.planeShown = true;
    if (!(offset < tolerance) || !(offset > -tolerance - maxT)) {
        out.planeTextShown = true;
        out.planeY = offset < tolerance ? 30 : out.bottom + 40;
        return out;
    }
    const bool midPlane = offset > -tolerance - maxT / 2 && offset < tolerance - maxT / 2 && in.fullView &&
                          rows.front().child && rows.size() % 2 == 0;
    double below = 0;
    for (size_t i = rows.size(); i-- > 0;) {
        const double depth = -offset - below, thickness = rows[i].thickness;
        if (thickness >= depth) {
            // A zero-thickness row can only be reached at its very edge.
            const double fraction = thickness > 0 ? depth / thickness : 0.0;
            // Rounded: the float thicknesses put a plane on a ply edge a hair
            // to either side of it.
            out.planeY = static_cast<int>(std::lround(out.rowY[i] + rows[i].height - rows[i].height * fraction));
            if (midPlane) // into the separator's gap rather than onto a ply edge
                out.planeY += depth > tolerance ? -(in.labelGap + in.rowGap) : in.labelGap + in.rowGap;
            return out;
        }
        below += thickness;
    }
    out.planeY = out.rowY.front();
    return out;
}

} // namespace SketchGeometry
