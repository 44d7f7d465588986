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
#include <set>
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
    QProcess text;
    text.start("pdftotext", {"-layout", pdf_, "-"});
    ASSERT_TRUE(text.waitForFinished()) << "pdftotext (poppler-utils) is missing: run tools/install-deps";
    // Every label as drawn, under the headings, top first: the angle to three
    // digits, its column's right edge the same in every line.
    QStringList lines = QString::fromUtf8(text.readAllStandardOutput()).split('\n');
    lines.removeIf([](const QString &line) { return line.trimmed().isEmpty(); }); // and the form feed
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0].split(' ', Qt::SkipEmptyParts), (QStringList{"Thickness", "Angle", "Ply", "Material"}));
    std::set<qsizetype> angleEnds;
    for (int ply = 8; ply >= 1; --ply) {
        const QString line = lines[9 - ply];
        const QString angle = QString::asprintf("%+.3g", double(kAngles[(ply - 1) % 6]));
        EXPECT_EQ(line.split(' ', Qt::SkipEmptyParts), (QStringList{"0.125", angle, QString::number(ply)}));
        angleEnds.insert(line.indexOf(angle) + angle.size());
    }
    EXPECT_EQ(angleEnds.size(), 1u);

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
