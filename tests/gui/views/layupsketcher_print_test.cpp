#include "core/layup.h"
#include "gui/views/layupsketcher.h"
#include "gui/views/layupsketchertesting.h"
#include "gui/views/plysketch.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGraphicsScene>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdlib>
#include <map>
#include <set>
#include <vector>
#include <utility>

namespace {

// Angles that two significant digits would round.
const float kAngles[] = {22.5f, -67.5f, 12.5f, 0.4f, 90.0f, -45.0f};

Layup Plies(int count)
{
    Layup layup;
    for (int i = 1; i <= count; ++i) {
        auto *ply = new PlySimple(i, "ply");
        ply->SetThickness(0.125f);
        ply->SetAngle(kAngles[(i - 1) % 6]);
        layup.Add(ply);
    }
    return layup;
}

// Pages of a PDF written by the toolkit: its page objects are plain text.
int PageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return static_cast<int>(text.count(QRegularExpression("/Type\\s*/Page[^s]")));
}

// The words of one printed line, left to right, and their right edges in points.
struct Line
{
    QStringList words;
    std::vector<double> rightEdges;
};

// The lines of a PDF's first page, top first, as pdftotext (poppler-utils) reads them.
std::vector<Line> PageOneLines(const QString &pdf)
{
    QProcess text;
    text.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    if (!text.waitForFinished() || text.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils) failed: run tools/install-deps";
        return {};
    }
    const QRegularExpression word(R"re(<word xMin="[^"]*" yMin="([^"]*)" xMax="([^"]*)"[^>]*>([^<]*)</word>)re");
    std::map<double, Line> lines; // by their top
    for (const QRegularExpressionMatch &match : word.globalMatch(QString::fromUtf8(text.readAllStandardOutput()))) {
        Line &line = lines[match.captured(1).toDouble()];
        line.words.append(match.captured(3));
        line.rightEdges.push_back(match.captured(2).toDouble());
    }
    std::vector<Line> top;
    for (const auto &[y, line] : lines)
        top.push_back(line);
    return top;
}

class SketchPrintTest : public ::testing::Test
{
protected:
    SketchPrintTest() : scene_(0, 0, 1000, 3000), sketch_(&scene_, nullptr, nullptr) {}
    ~SketchPrintTest() override { SetPrintSetupDialog({}); }

    // Prints to a PDF through a set-up that picks the file (and, when given,
    // the page size) and accepts.
    bool PrintToPdf(std::string &error, const QString &name, const QPageSize *page = nullptr)
    {
        pdf_ = dir_.filePath(name);
        SetPrintSetupDialog([this, page](QPrinter &printer, QWidget *parent) {
            EXPECT_EQ(parent, &sketch_);
            EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Letter);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf_);
            if (page)
                printer.setPageSize(*page);
            return true;
        });
        return sketch_.Print(error);
    }

    // With CORVANE_SCREENSHOTS set, the first page as a PNG for a person to look at.
    void SavePageOne(const char *name)
    {
        const char *dir = std::getenv("CORVANE_SCREENSHOTS");
        if (dir && *dir)
            QProcess::execute("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile", pdf_,
                                           QString::fromLocal8Bit(dir) + "/" + name});
    }

    void Draw(int plies)
    {
        sketch_.Clear();
        sketch_.Show(Plies(plies));
        sketch_.Draw(25 * plies, 0.125f * plies);
    }

    QTemporaryDir dir_;
    QString pdf_;
    QGraphicsScene scene_;
    LayupSketcher sketch_;
};

// One page for a sketch that fits, overlapping strips for a tall one, and no
// page for a strip with nothing in it.
TEST_F(SketchPrintTest, PagesFollowTheSketch)
{
    Draw(8);
    std::string error = "old";
    ASSERT_TRUE(PrintToPdf(error, "small.pdf"));
    EXPECT_EQ(error, "");
    EXPECT_EQ(PageCount(pdf_), 1);
    SavePageOne("print-small");
    // Every label as printed, under the headings, top first: the angle to
    // three digits, each column's right edge the same in every line.
    const std::vector<Line> lines = PageOneLines(pdf_);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0].words, (QStringList{"Thickness", "Angle", "Ply", "Material"}));
    std::set<int> rightEdges[3];
    for (int ply = 8; ply >= 1; --ply) {
        const Line &line = lines[9 - ply];
        const QString angle = QString::asprintf("%+.3g", double(kAngles[(ply - 1) % 6]));
        ASSERT_EQ(line.words, (QStringList{"0.125", angle, QString::number(ply)}));
        for (int i = 0; i < 3; ++i)
            rightEdges[i].insert(qRound(line.rightEdges[i] * 100)); // a hundredth of a point
    }
    for (const auto &edges : rightEdges)
        EXPECT_EQ(edges.size(), 1u);

    Draw(200);
    ASSERT_TRUE(PrintToPdf(error, "tall.pdf"));
    // Letter at screen resolution: strips of 11 - 2 inches, stepping 8 inches.
    const int step = 8 * QPrinter(QPrinter::ScreenResolution).logicalDpiY();
    const int height = static_cast<int>(scene_.sceneRect().height());
    EXPECT_GT(height, 4000);
    EXPECT_EQ(PageCount(pdf_), (height + step - 1) / step);
    SavePageOne("print-tall");

    Draw(3);
    scene_.addRect(0, 2450, 40, 40); // far below the plies, nothing between
    scene_.setSceneRect(0, 0, 600, 2500);
    ASSERT_TRUE(PrintToPdf(error, "gap.pdf"));
    EXPECT_EQ(PageCount(pdf_), 2);
}

TEST_F(SketchPrintTest, CancelledSetUpPrintsNothing)
{
    Draw(3);
    bool asked = false;
    SetPrintSetupDialog([&asked](QPrinter &, QWidget *) { return !(asked = true); });
    std::string error = "old";
    EXPECT_TRUE(sketch_.Print(error));
    EXPECT_TRUE(asked);
    EXPECT_EQ(error, "");
}

TEST_F(SketchPrintTest, FailuresSayInternalPrintingError)
{
    Draw(3);
    // An inch or less of printable height would never step past the first
    // strip; nor is a page without printable width printed.
    const QPageSize tiny(QSizeF(4, 3), QPageSize::Inch), narrow(QSizeF(1.5, 11), QPageSize::Inch);
    for (const auto &[name, page] :
         {std::pair{"tiny.pdf", &tiny}, {"narrow.pdf", &narrow}, {"no/such/dir/x.pdf", nullptr}}) {
        std::string error;
        EXPECT_FALSE(PrintToPdf(error, name, page)) << name;
        EXPECT_EQ(error, "Internal printing error") << name;
        EXPECT_FALSE(QFile::exists(pdf_)) << name;
    }
}

} // namespace
