// The lamhost program with the real module: what a user of ./run sees.

#include "host/testenv.h"

#include "tests/tools/runprogram.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

class LamhostModuleTest : public ::testing::Test
{
protected:
    LamhostModuleTest()
    {
        env_.Unset("CORVANE_DEBUG"); // trace lines would change the output
        // Interactive requests end at once for want of a display, as on a server.
        for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env_.Unset(display);
    }

    // lamhost with the module of this build (found beside it) and the arguments.
    Outcome Run(const std::vector<std::string> &args)
    {
        return RunProgram(LAMHOST_PATH, args, dir_.Path(), dir_.Path());
    }

    // Writes script.lua in the test's folder; returns its path.
    std::string Script(const std::string &text) const { return dir_.Write("script.lua", text); }

    ScopedEnv env_;
    TempDir dir_;
};

TEST_F(LamhostModuleTest, EmptyScriptSavesTheDemoLaminateAsItIs)
{
    const std::string script = Script("");
    const Outcome o = Run({"--script", script, "modify"});
    EXPECT_EQ(o.status, 0) << o.err;
    const std::vector<std::string> lines = Lines(o.out);
    ASSERT_GE(lines.size(), 7u) << o.out;
    EXPECT_EQ(lines[0], "Corvane-Modeler script: " + script);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Laminate save 1: mode 2 (modify), saved as \"Demo laminate\" (host number 1)");
    EXPECT_TRUE(Contains(o.out, "  8 plies, bottom first\n")) << o.out;
}

TEST_F(LamhostModuleTest, FailuresShowTheirLines)
{
    struct Case
    {
        const char *script; // null: no --script
        std::vector<std::string> options;
        const char *operation;
        const char *header; // the header's first words, null when the script does not start
        std::vector<std::string> shown;
        const char *saves = "Nothing saved."; // the first line after the module's lines
    };
    const char *modeler = "Corvane-Modeler", *plyMaterial = "Ply-Material-Creation";
    const char *kNoDisplay = "Interactive mode needs a display (DISPLAY or WAYLAND_DISPLAY): nothing was changed.";
    const Case cases[] = {
        {"Paste{Count = 0}", {}, "modify", modeler,
         {"error: Paste: Count must be strictly positive", "Error running script"}},
        {"Message('not run') AddPly{", {}, "create", modeler,
         {"error: @:1: unexpected symbol near <eof>", "Syntax error in script"}},
        {"Message('ran')", {"--fail", "SaveLaminate=999"}, "modify", modeler,
         {"ran", "INITIALIZATION ERROR: Saving Laminate", "Error saving laminate, wrong Tsai-Wu interaction type?"},
         "Laminate save 1: mode 2 (modify), refused with result 999"},
        {"", {"--fail", "SavePlyMaterial=1"}, "plymat", plyMaterial,
         {"INITIALIZATION ERROR: Creating Ply Material", "Error saving current ply material"},
         "Ply material save 1: refused with result 1"},
        {nullptr, {}, "modify", nullptr, {kNoDisplay}},
        {nullptr, {}, "create", nullptr, {kNoDisplay}},
        {nullptr, {}, "sketch", nullptr, {kNoDisplay}},
        {nullptr, {}, "plymat", nullptr, {kNoDisplay}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script ? c.script : "no script");
        std::vector<std::string> args = c.options;
        if (c.script) {
            args.push_back("--script");
            args.push_back(Script(c.script));
        }
        args.push_back(c.operation);
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, 0) << o.err;
        const std::string path = dir_.Path() + "/script.lua";
        std::string expected = c.header ? std::string(c.header) + " script: " + path + "\n" : "";
        for (std::string line : c.shown) {
            if (const size_t at = line.find('@'); at != std::string::npos)
                line.replace(at, 1, path);
            expected += line + "\n";
        }
        expected += "\n" + std::string(c.saves) + "\n";
        EXPECT_EQ(o.out.substr(0, expected.size()), expected);
    }
}

// Each example runs as ./run runs it, without an error, and saves.
TEST_F(LamhostModuleTest, ExamplesRunCleanly)
{
    struct Case
    {
        const char *example;
        const char *operation;
        const char *saved;
    };
    const Case cases[] = {
        {"quasi_isotropic.lua", "create", "Laminate save 1: mode 1 (create)"},
        {"quasi_isotropic.lua", "modify", "Laminate save 1: mode 2 (modify)"},
        {"grouping_and_linking.lua", "modify", "Laminate save 1: mode 2 (modify)"},
        {"symmetric_paste.lua", "modify", "Laminate save 1: mode 2 (modify)"},
        {"ply_material_halpin_tsai.lua", "plymat", "Ply material save 1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.example) + " " + c.operation);
        const std::string path = std::string(EXAMPLES_DIR) + "/" + c.example;
        const Outcome o = Run({"--script", path, c.operation});
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_TRUE(Contains(o.out, c.saved)) << o.out;
        EXPECT_FALSE(Contains(o.out, "rror")) << o.out;
        EXPECT_FALSE(Contains(o.out, "Canceling")) << o.out;
    }
}

TEST_F(LamhostModuleTest, ExamplesShowWhatAUserChecks)
{
    // A mirrored 0-degree ply is saved as 0, not -0.
    Outcome o = Run({"--script", std::string(EXAMPLES_DIR) + "/symmetric_paste.lua", "modify"});
    EXPECT_TRUE(Contains(o.out, " 0  4 ")) << o.out;
    EXPECT_FALSE(Contains(o.out, " -0  ")) << o.out;

    // Values the module keeps as float print as the float's shortest text.
    const std::string plyMaterial = std::string(EXAMPLES_DIR) + "/ply_material_halpin_tsai.lua";
    o = Run({"--script", plyMaterial, "plymat"});
    EXPECT_TRUE(Contains(o.out, "  matrix fraction 0.4, fibre fraction 0.6\n")) << o.out;
    EXPECT_TRUE(Contains(o.out, ", ribbon thickness 0.05\n")) << o.out;

    // Run in the wrong mode, the example cancels and returns.
    o = Run({"--script", plyMaterial, "modify"});
    EXPECT_TRUE(Contains(o.out, "Canceling script\n\nNothing saved.\n")) << o.out;
    EXPECT_FALSE(Contains(o.out, "rror")) << o.out;
}

TEST_F(LamhostModuleTest, QuasiIsotropicExampleSavesTheSymmetricStack)
{
    const Outcome o = Run({"--script", std::string(EXAMPLES_DIR) + "/quasi_isotropic.lua", "create"});
    const std::vector<std::string> lines = Lines(o.out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Corvane-Modeler script: " EXAMPLES_DIR "/quasi_isotropic.lua");
    EXPECT_EQ(lines[1], "Building [0/45/-45/90]s on top of 0 plies");
    EXPECT_EQ(lines[2], "Stored plies: 8 with the symmetric half");
    EXPECT_TRUE(Contains(o.out, "  8 plies, bottom first\n")) << o.out;
    std::vector<std::string> angles;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("      ply    thickness") == 0) {
            for (size_t k = i + 1; k < lines.size() && k <= i + 8; ++k) {
                std::istringstream row(lines[k]);
                std::string number, thickness, angle;
                row >> number >> thickness >> angle;
                angles.push_back(angle);
            }
        }
    }
    EXPECT_EQ(angles, (std::vector<std::string>{"0", "45", "-45", "90", "90", "-45", "45", "0"}));
}

} // namespace
