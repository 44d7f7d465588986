#include "gui/views/sketchgeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <random>

using namespace SketchGeometry;

namespace {

enum class Hatch { Horizontal, Slanted, Vertical };

Hatch Kind(const std::vector<Line> &lines)
{
    bool horizontal = true, vertical = true;
    for (const Line &l : lines) {
        horizontal = horizontal && l.y1 == l.y2;
        vertical = vertical && l.x1 == l.x2;
    }
    return horizontal ? Hatch::Horizontal : vertical ? Hatch::Vertical : Hatch::Slanted;
}

int Chars(const std::string &text) { return 8 * static_cast<int>(text.size()); }

// Rows 20 high and 1 thick: the copies, then the plies.
std::vector<Row> Stack(int copies, int plies)
{
    std::vector<Row> rows(copies + plies, Row{20, 1.0f, false});
    std::fill_n(rows.begin(), copies, Row{20, 1.0f, true});
    return rows;
}

} // namespace

TEST(SketchGeometryTest, HatchDirectionFollowsTheTruncatedAngle)
{
    const struct
    {
        float angle;
        Hatch kind;
    } rows[] = {
        {0.0f, Hatch::Horizontal},  {2.9f, Hatch::Horizontal}, {-2.9f, Hatch::Horizontal},
        {3.0f, Hatch::Slanted},     {-3.0f, Hatch::Slanted},   {45.0f, Hatch::Slanted},
        {90.0f, Hatch::Vertical},   {-90.0f, Hatch::Vertical},
    };
    for (const auto &row : rows) {
        const std::vector<Line> lines = FibreLines(40, 60, 100, 20, row.angle, 15);
        ASSERT_FALSE(lines.empty()) << row.angle;
        EXPECT_EQ(Kind(lines), row.kind) << row.angle;
    }
    // 89.9 is not made vertical, only steep: over 2000 pixels it leans 3.
    const std::vector<Line> steep = FibreLines(0, 0, 100, 2000, 89.9f, 15);
    EXPECT_EQ(Kind(steep), Hatch::Slanted);
    for (const Line &l : steep)
        EXPECT_LE(std::abs(l.x2 - l.x1), 4);
    EXPECT_EQ(FibreLines(40, 60, 100, 20, 0.0f, 15),
              (std::vector<Line>{{41, 67, 139, 67}, {41, 74, 139, 74}}));
    EXPECT_TRUE(FibreLines(0, 0, 100, 6, 0.0f, 15).empty());
}

TEST(SketchGeometryTest, SlantedHatchStaysInItsRectangleAndMirrorsWithTheAngle)
{
    std::mt19937 random(16);
    std::uniform_real_distribution<float> angles(3.0f, 89.4f);
    std::uniform_int_distribution<int> heights(2, 300), positions(-50, 500);
    for (int i = 0; i < 2000; ++i) {
        const float angle = angles(random);
        const int x = positions(random), y = positions(random), h = heights(random);
        const std::vector<Line> up = FibreLines(x, y, 100, h, angle, 15);
        const std::vector<Line> down = FibreLines(x, y, 100, h, -angle, 15);
        ASSERT_EQ(up.size(), down.size());
        ASSERT_GE(up.size(), 3u);
        for (size_t k = 0; k < up.size(); ++k) {
            for (const int ex : {up[k].x1, up[k].x2}) {
                EXPECT_GE(ex, x - 1);
                EXPECT_LE(ex, x + 100);
            }
            // Rising to the right for a positive angle, falling for a negative one.
            EXPECT_LE(up[k].y2, up[k].y1);
            EXPECT_GE(down[k].y2, down[k].y1);
            EXPECT_NEAR(down[k].y1, 2 * y + h - up[k].y1, 1) << angle << " " << h;
            EXPECT_EQ(down[k].x1, up[k].x1);
        }
    }
}

TEST(SketchGeometryTest, DarkFillsGetWhiteHatchLines)
{
    EXPECT_TRUE(WhiteHatch(0, 0, 100));
    EXPECT_TRUE(WhiteHatch(50, 50, 50));
    EXPECT_FALSE(WhiteHatch(0, 0, 101));
    EXPECT_FALSE(WhiteHatch(60, 60, 60));
}

TEST(SketchGeometryTest, RowHeights)
{
    EXPECT_EQ(RowHeight(true, 500, 1.0f, 0.5f), 20);
    EXPECT_EQ(RowHeight(false, 98, 1.0f, 0.5f), 50);
    EXPECT_EQ(RowHeight(false, 98, 1.0f, 0.333f), 33);
    EXPECT_EQ(RowHeight(false, 98, 1.0f, 0.0f), 2);
    // Nothing to scale against: drawable rather than NaN.
    EXPECT_EQ(RowHeight(false, 98, 0.0f, 0.0f), 2);
    EXPECT_EQ(RowHeight(false, 98, 0.0f, 1.0f), 2);
    EXPECT_EQ(LabelOffset(20), 3);
    EXPECT_EQ(LabelOffset(9), 0);
}

TEST(SketchGeometryTest, ColumnsAndPaddedDataLabels)
{
    const std::string headings[3] = {"Thickness", "Angle", "Ply"};
    const Columns columns = ComputeColumns(Chars, headings);
    EXPECT_EQ((std::vector<int>(columns.headingX, columns.headingX + 3)), (std::vector<int>{26, 122, 178}));
    // A long heading pushes its column out.
    const std::string wide[3] = {"Thickness of the ply", "Fibre angle", "Ply"};
    const Columns pushed = ComputeColumns(Chars, wide);
    EXPECT_EQ(pushed.end[0], 160);
    EXPECT_EQ(pushed.end[1], 258);

    const CharWidths eight([](char) { return 8.0; });
    const int narrow[3] = {10, 10, 10};
    const struct
    {
        float thickness, angle;
        int position;
        const int *ends;
        const char *label;
    } rows[] = {
        // Padded to the columns' ends, 98, 162 and 202 pixels; the angle as
        // the tree writes it, to three digits (the sketch's tests hold more).
        {0.125f, 45.0f, 6, columns.end, "       0.125     +45    6"},
        {0.125f, -4.5f, 12, columns.end, "       0.125    -4.5   12"},
        {0.125f, 22.5f, 6, columns.end, "       0.125   +22.5    6"},
        {0.125f, -0.125f, 6, columns.end, "       0.125  -0.125    6"},
        {0.125f, 22.25f, 6, columns.end, "       0.125   +22.3    6"}, // a tie rounds up, as in the tree
        {1.03125f, -0.0f, 6, columns.end, "      1.0313      +0    6"},
        // Wider than the columns: nothing added, the next field still ends in its column.
        {0.125f, -1.25e-5f, 6, columns.end, "       0.125-1.25e-05   6"},
        {0.125f, 45.0f, 12345, narrow, "      0.125+4512345"},
    };
    // Written in the C locale under a user locale with a decimal comma too.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const char *locale : {"C", "de_DE.UTF-8"}) {
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale << ": run tools/install-deps";
        for (const auto &row : rows)
            EXPECT_EQ(DataLabel(row.thickness, row.angle, row.position, row.ends, eight), row.label)
                << locale << " " << row.angle;
    }
    std::setlocale(LC_ALL, previous.c_str());

    // A blank without width cannot make the padding loop forever.
    const CharWidths noBlank([](char c) { return c == ' ' ? 0.0 : 8.0; });
    EXPECT_EQ(DataLabel(1.0f, 0.0f, 1, columns.end, noBlank), "          1+0  1");
    // A text's width is its advances added up, then rounded; advances the
    // toolkit cannot give count as none.
    const CharWidths fractional([](char c) { return c == 'x' ? std::nan("") : c == 'y' ? -3.0 : 7.5; });
    EXPECT_EQ(fractional.Width("0.125"), 38);
    EXPECT_EQ(fractional.Width("xy\xe9"), 0);
}

TEST(SketchGeometryTest, ReferencePlane)
{
    struct Case
    {
        const char *what;
        int copies;
        float offset;
        bool fullView;
        bool shown, textShown;
        int y, firstRow;
    };
    // Three plies of thickness 1, rows 20 high; with three copies the stack is
    // six thick and the real plies start at y 100.
    const Case cases[] = {
        {"above the top", 0, -3.5f, true, true, true, 30, 80},
        {"at the top", 0, -3.0f, true, true, false, 20, 20},
        {"at a ply boundary", 0, -1.0f, true, true, false, 60, 20},
        {"mid-ply", 0, -1.5f, true, true, false, 50, 20},
        {"at the bottom", 0, 0.0f, true, true, false, 80, 20},
        {"below the bottom", 0, 0.5f, true, true, true, 120, 20},
        {"mid-plane of a symmetric stack", 3, -3.0f, true, true, false, 90, 20},
        {"upper half of a half view", 0, -2.0f, false, false, false, 0, 20},
    };
    for (const Case &c : cases) {
        LayoutInput input;
        input.offset = c.offset;
        input.maxThickness = c.copies ? 6.0f : 3.0f;
        input.fullView = c.fullView;
        const Layout l = LayOut(Stack(c.copies, 3), input);
        EXPECT_EQ(l.planeShown, c.shown) << c.what;
        EXPECT_EQ(l.planeTextShown, c.textShown) << c.what;
        if (c.shown) {
            EXPECT_EQ(l.planeY, c.y) << c.what;
        }
        EXPECT_EQ(l.rowY.front(), c.firstRow) << c.what;
        EXPECT_EQ(l.separatorShown, c.copies > 0) << c.what;
        if (c.copies) {
            EXPECT_EQ(l.separatorY, c.y) << "the mid-plane lies on the separator";
        }
    }
    // A plane on a ply without thickness lies at that ply's edge.
    LayoutInput input;
    input.offset = 0.0f;
    input.maxThickness = 2.0f;
    std::vector<Row> rows = Stack(0, 3);
    rows[2].thickness = 0.0f;
    EXPECT_EQ(LayOut(rows, input).planeY, 80);
}
