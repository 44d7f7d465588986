#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

// The numbers behind the layup sketch, kept apart from the scene so that they
// can be computed and checked without one: ply hatching, row heights, the
// padded data labels and the vertical layout of the rows.
namespace SketchGeometry {

// A ply rectangle's width; the row height of Feature View, and the least
// height of a scaled row.
constexpr int kRectangleWidth = 100;
constexpr int kFixedRowHeight = 20;
constexpr int kMinRowHeight = 2;

// One hatch line, end points in scene pixels.
struct Line
{
    int x1, y1, x2, y2;
    bool operator==(const Line &other) const = default;
};

// The fibre lines of a ply rectangle at (x, y) of size width x height for a
// fibre angle in degrees: horizontal every 7 pixels for angles within 2
// degrees of 0, otherwise slanted at the angle with about spacing pixels
// between them, vertical from 90 degrees on.
std::vector<Line> FibreLines(int x, int y, int width, int height, float angle, int spacing);

// Whether a fill of these components is dark enough for white hatch lines.
bool WhiteHatch(int red, int green, int blue);

// A row's height: fixed, or (plySize + 2) x thickness / maxThickness in
// whole pixels, never below kMinRowHeight.
int RowHeight(bool fixed, int plySize, float maxThickness, float thickness);

// How far a row's labels sit below its top.
int LabelOffset(int rowHeight);

// The width in pixels of a text in the labels' font.
using Measure = std::function<int(const std::string &)>;

// The advances in pixels of the characters a data label is written with (the
// printable ASCII ones) in one font, measured once: padding thousands of
// labels then measures no text. A text is as wide as its characters'
// advances added up and rounded, as the toolkit measures a text that is not
// kerned (a fixed-pitch font's).
class CharWidths
{
public:
    CharWidths() = default; // no width for any character
    // advance gives a character's unrounded advance; a negative or
    // non-finite one counts as none.
    explicit CharWidths(const std::function<double(char)> &advance);
    double Advance(char c) const;
    double Exact(const std::string &text) const;
    int Width(const std::string &text) const;

private:
    std::array<double, 128> advance_{};
};

// Right ends of the three data columns (thickness, angle, position) and
// where their headings start, for headings of the given texts.
struct Columns
{
    int end[3] = {0, 0, 0};
    int headingX[3] = {0, 0, 0};
};
Columns ComputeColumns(const Measure &measure, const std::string headings[3]);

// The data label of a row: thickness ("%11.5g"), angle ("%+.3g", as the tree
// writes it) and position ("%3d"), each right-aligned with blanks against the
// column ends; a field already wider stays as it is.
std::string DataLabel(float thickness, float angle, int position, const int columnEnd[3],
                      const CharWidths &widths);

// One row of the drawn stack, top first.
struct Row
{
    int height = kFixedRowHeight;
    float thickness = 0.0f;
    bool child = false; // a copy the stacking rule adds
};

// What the layout depends on besides the rows.
struct LayoutInput
{
    int rowGap = 0;         // between rows
    int labelGap = 10;      // around the separator
    float offset = 0.0f;    // reference plane below the bottom fibre, negative above it
    float maxThickness = 0; // the thickness the dialog draws against
    bool fullView = true;
};

// Where the rows, the separator and the reference plane go.
struct Layout
{
    std::vector<int> rowY;      // top of each row
    int bottom = 0;             // bottom of the last row
    bool separatorShown = false;
    int separatorY = 0;
    bool planeShown = false;    // the reference-plane line
    bool planeTextShown = false; // "outside laminate"
    int planeY = 0;
};
Layout LayOut(const std::vector<Row> &rows, const LayoutInput &input);

} // namespace SketchGeometry
