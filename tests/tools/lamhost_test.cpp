// The lamhost program, run as a process against the fake modules of
// tests/tools/fakemodule.

#include "tests/tools/runprogram.h"
#include "tools/lamhost/storejson.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>


namespace {

namespace fs = std::filesystem;

class LamhostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "lamhost_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Runs a program with the arguments in cwd (the test's folder by default).
    Outcome RunProgram(const std::string &program, const std::vector<std::string> &args,
                       const fs::path &cwd = {})
    {
        return ::RunProgram(program, args, dir_.string(), (cwd.empty() ? dir_ : cwd).string());
    }

    // lamhost with the working fake module.
    Outcome Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--module", FAKEMODULE_PATH});
        return RunProgram(LAMHOST_PATH, args);
    }

    fs::path Write(const std::string &name, const std::string &text)
    {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return dir_ / name;
    }

    fs::path StoreFile(const std::string &name, const LamHost::StoreData &data)
    {
        return Write(name, LamHost::WriteStoreJson(data));
    }

    LamHost::StoreData ReadStore(const fs::path &path)
    {
        LamHost::StoreData data;
        std::string error;
        EXPECT_TRUE(LamHost::LoadStoreFile(path.string(), data, error)) << error;
        return data;
    }

    fs::path dir_;
};

bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(LamhostTest, HelpPrintsUsageAndRunsNothing)
{
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"--help"}, {"modify", "--bogus", "-h"}}) {
        const Outcome o = Run(args);
        EXPECT_EQ(o.status, 0);
        EXPECT_TRUE(Contains(o.out, "Usage: lamhost [OPTION]... OP...")) << o.out;
        EXPECT_FALSE(Contains(o.out, "fake:"));
        for (const char *word : {"--fail SLOT=RC[@N]", "--pick KIND=ID", "GetCurrentLaminatePlies",
                                 "SaveLaminate", "SelectMaterial", "plymat"})
            EXPECT_TRUE(Contains(o.out, word)) << word;
    }
}

TEST_F(LamhostTest, BadCommandLinesExitWithTwoBeforeLoading)
{
    struct Case
    {
        std::vector<std::string> args;
        const char *message;
    };
    const Case cases[] = {
        {{}, "no operation given"},
        {{"frobnicate"}, "unknown operation 'frobnicate'"},
        {{"Modify"}, "unknown operation 'Modify'"},
        {{"--bogus", "modify"}, "unknown option --bogus"},
        {{"modify", "--store"}, "--store needs a value"},
        {{"--module", "", "modify"}, "--module needs a value"},
        {{"--save-store", "", "modify"}, "--save-store needs a value"},
        {{"--script", "", "modify"}, "--script needs a value"},
        {{"--lang", "x", "modify"}, "--lang x: expected an integer"},
        {{"--units", "99999999999", "modify"}, "--units 99999999999: expected an integer"},
        {{"--units", "7.5", "modify"}, "expected an integer"},
        {{"--lang", "1", "--lang", "2", "modify"}, "--lang given twice"},
        {{"--script", "a", "--script", "b", "modify"}, "--script given twice"},
        {{"--store", "a", "--store", "b", "modify"}, "--store given twice"},
        {{"--fail", "SaveLaminate", "modify"}, "expected SLOT=RC"},
        {{"--fail", "Nothing=1", "modify"}, "no slot Nothing to fail"},
        {{"--fail", "ShowMessage=1", "modify"}, "no slot ShowMessage to fail"},
        {{"--fail", "Unused24=1", "modify"}, "no slot Unused24 to fail"},
        {{"--fail", "SaveLaminate=x", "modify"}, "RC must be an integer"},
        {{"--fail", "SaveLaminate=", "modify"}, "RC must be an integer"},
        {{"--fail", "SaveLaminate=1@0", "modify"}, "N must be a call number from 1"},
        {{"--fail", "SaveLaminate=1@", "modify"}, "N must be a call number from 1"},
        {{"--fail", "SaveLaminate=1", "--fail", "savelaminate=2@2", "modify"},
         "only one fault per slot"},
        {{"--pick", "resin=1", "plymat"}, "expected KIND=ID"},
        {{"--pick", "ply", "plymat"}, "expected KIND=ID"},
        {{"--pick", "ply=abc", "plymat"}, "ID must be an integer"},
    };
    for (const Case &c : cases) {
        const Outcome o = Run(c.args);
        const std::string where = "args: " + testing::PrintToString(c.args);
        EXPECT_EQ(o.status, 2) << where;
        EXPECT_EQ(o.err.rfind("lamhost: ", 0), 0u) << where;
        EXPECT_TRUE(Contains(o.err, c.message)) << where << "\n" << o.err;
        EXPECT_TRUE(Contains(o.err, "Try 'lamhost --help'.")) << where;
        EXPECT_EQ(o.out, "") << where;
    }
}

TEST_F(LamhostTest, ModulesThatCannotServeExitWithTwo)
{
    const fs::path garbage = Write("garbage.so", "not a shared object\n");
    struct Case
    {
        std::string module;
        std::vector<const char *> messages;
    };
    const Case cases[] = {
        {(dir_ / "missing.so").string(),
         {"lamhost: cannot load module: ", "missing.so", "No such file or directory"}},
        {garbage.string(), {"lamhost: cannot load module: ", "garbage.so"}},
        {FAKEMODULE_NOINIT_PATH, {"lamhost: module has no ovra_dso_init: ", "undefined symbol"}},
        {FAKEMODULE_BADINTS_PATH,
         {"lamhost: bad module descriptor in ", "expected the integers 1 and 0, found 1 and 7"}},
        {FAKEMODULE_NULLENTRY_PATH, {"bad module descriptor", "an entry function is null"}},
        {FAKEMODULE_NULLDESCRIPTOR_PATH,
         {"bad module descriptor", "ovra_dso_init returned null"}},
    };
    for (const Case &c : cases) {
        const Outcome o = RunProgram(LAMHOST_PATH, {"--module", c.module, "modify"});
        EXPECT_EQ(o.status, 2) << c.module;
        for (const char *m : c.messages)
            EXPECT_TRUE(Contains(o.err, m)) << c.module << ": " << m << "\n" << o.err;
        EXPECT_EQ(o.out, "") << c.module;
    }
}

TEST_F(LamhostTest, ModuleNamedWithoutFolderIsTheOneInTheWorkingFolder)
{
    fs::copy_file(FAKEMODULE_PATH, dir_ / "mine.so");
    const Outcome o = RunProgram(LAMHOST_PATH, {"--module", "mine.so", "sketch"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(Contains(o.out, "fake: sketcher, 16 colours"));
}

TEST_F(LamhostTest, DefaultModuleIsBesideTheProgramThenInTheBuildTreeRoot)
{
    // A copy of the program in a tree shaped like build/<tree>/tools/lamhost.
    const fs::path programDir = dir_ / "tree" / "tools" / "lamhost";
    fs::create_directories(programDir);
    const fs::path program = programDir / "lamhost";
    fs::copy_file(LAMHOST_PATH, program);
    fs::permissions(program, fs::perms::owner_all);

    Outcome o = RunProgram(program.string(), {"sketch"});
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(Contains(o.err, "no corvane.so beside lamhost")) << o.err;
    EXPECT_TRUE(Contains(o.err, (dir_ / "tree" / "corvane.so").string())) << o.err;

    fs::copy_file(FAKEMODULE_NOINIT_PATH, dir_ / "tree" / "corvane.so");
    o = RunProgram(program.string(), {"sketch"});
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(Contains(o.err, "no ovra_dso_init")) << "the build tree's module is loaded";

    fs::copy_file(FAKEMODULE_PATH, programDir / "corvane.so");
    o = RunProgram(program.string(), {"sketch"});
    EXPECT_EQ(o.status, 0) << "the module beside the program comes first: " << o.err;
    EXPECT_TRUE(Contains(o.out, "fake: sketcher"));
}

TEST_F(LamhostTest, StoresAndScriptsThatCannotBeReadExitWithTwo)
{
    const fs::path notJson = Write("bad.json", "{\"language\": ");
    const fs::path wrongKey = Write("key.json", "{\"languages\": 1}");
    const fs::path huge = Write("huge.json", "");
    fs::resize_file(huge, LamHost::kMaxStoreFileBytes + 1);
    const fs::path fifo = dir_ / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string absent = (dir_ / "absent").string();
    struct Case
    {
        const char *option;
        std::string path;
        std::string message; // after "lamhost: cannot read the store: " or "... script: "
    };
    const Case cases[] = {
        {"--store", absent, absent + ": No such file or directory"},
        {"--store", notJson.string(), notJson.string() + ": "},
        {"--store", wrongKey.string(), "languages"},
        {"--store", dir_.string(), dir_.string() + ": is a folder"},
        {"--store", fifo.string(), fifo.string() + ": is not a regular file"},
        {"--store", "/dev/zero", "/dev/zero: is not a regular file"},
        {"--store", huge.string(), huge.string() + ": is larger than 67108864 bytes"},
        {"--script", absent, absent + ": No such file or directory"},
        {"--script", dir_.string(), dir_.string() + ": is a folder"},
        {"--script", fifo.string(), fifo.string() + ": is not a regular file"},
        {"--script", "/dev/null", "/dev/null: is not a regular file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.option) + " " + c.path);
        const Outcome o = Run({c.option, c.path, "modify"});
        EXPECT_EQ(o.status, 2);
        const std::string what = c.option == std::string("--store") ? "store" : "script";
        EXPECT_EQ(o.err.rfind("lamhost: cannot read the " + what + ": ", 0), 0u) << o.err;
        EXPECT_TRUE(Contains(o.err, c.message)) << o.err;
        EXPECT_EQ(o.out, "");
    }
}

TEST_F(LamhostTest, OperationsRunInOrderAfterOneSetup)
{
    const Outcome o = Run({"sketch", "modify", "plymat", "create", "sketch"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    const std::vector<std::string> lines = Lines(o.out);
    const std::vector<std::string> expected = {
        "fake: setup 1",
        "fake: sketcher, 16 colours",
        "fake: modeler 0",
        "fake: no script",
        "fake: language 0 units 10",
        "fake: loaded \"Demo laminate\" with 8 plies",
        "fake: save returns 0",
        "fake: picked matrix -1 (rc 1), fibre -1 (rc 1)",
        "fake: modeler 1",
        "fake: no script",
        "fake: language 0 units 10",
        "fake: save returns 0",
        "fake: sketcher, 16 colours",
        "",
    };
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + expected.size()), expected);
}

TEST_F(LamhostTest, PrintsEverySaveReadably)
{
    const Outcome o = Run({"modify", "create"});
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string report = o.out.substr(o.out.find("\n\n") + 2);
    EXPECT_EQ(report,
              "Laminate save 1: mode 2 (modify), saved as \"Demo laminate\" (host number 1)\n"
              "  failure theory 3 (Tsai-Wu), Tsai-Wu interaction type 1, coefficient -0.5\n"
              "  reference plane -0.5, bonding stress 0, host option 0\n"
              "  non-structural mass 0, damping 0, reference temperature 20\n"
              "  8 plies, bottom first\n"
              "      ply    thickness        angle  colour       material\n"
              "        1        0.125            0  2 Red        301 Carbon/epoxy UD 0.125\n"
              "        2        0.125           45  3 Green      301 Carbon/epoxy UD 0.125\n"
              "        3        0.125          -45  4 Blue       301 Carbon/epoxy UD 0.125\n"
              "        4        0.125           90  10 Orange    301 Carbon/epoxy UD 0.125\n"
              "        5        0.125           90  10 Orange    301 Carbon/epoxy UD 0.125\n"
              "        6        0.125          -45  4 Blue       301 Carbon/epoxy UD 0.125\n"
              "        7        0.125           45  3 Green      301 Carbon/epoxy UD 0.125\n"
              "        8        0.125            0  2 Red        301 Carbon/epoxy UD 0.125\n"
              "\n"
              "Laminate save 2: mode 1 (create), saved as \"Laminate 2\" (host number 2)\n"
              "  failure theory 1 (Hill), Tsai-Wu interaction type 1, coefficient -0.5\n"
              "  reference plane -0.375, bonding stress 10, host option 0\n"
              "  non-structural mass 0, damping 0, reference temperature 20\n"
              "  2 plies, bottom first\n"
              "      ply    thickness        angle  colour       material\n"
              "        1         0.25            0  2 Red        301 Carbon/epoxy UD 0.125\n"
              "        2          0.5           90  3 Green      302 Glass/epoxy UD 0.25\n");

    const Outcome none = Run({"sketch"});
    EXPECT_EQ(none.out, "fake: setup 1\nfake: sketcher, 16 colours\n\nNothing saved.\n");
}

TEST_F(LamhostTest, ValuesAreShownReadablyAndUnknownIdsByNumber)
{
    LamHost::StoreData data = LamHost::DemoStore();
    data.laminates[0].plies = {{0.1f, 1e-7f, 999, 77}};
    data.laminates[0].referencePlane = 0.3f;
    data.laminates[0].damping = 2.0 / 3.0;
    data.laminates[0].referenceTemperature = 21.85 + 2e-14; // 21.850000000000023
    data.laminates[0].nonStructuralMass = static_cast<double>(0.4f); // a float the module widened
    const fs::path store = StoreFile("odd.json", data);
    const Outcome o = Run({"--store", store.string(), "modify"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(Contains(o.out, "reference plane 0.3,")) << o.out;
    EXPECT_TRUE(Contains(o.out, "non-structural mass 0.4, damping 0.666666666666667, reference temperature 21.85\n")) << o.out;
    EXPECT_TRUE(Contains(o.out, "  1 ply, bottom first\n"));
    EXPECT_TRUE(Contains(o.out, "        1          0.1        1e-07  77           999\n")) << o.out;
}

TEST_F(LamhostTest, ScriptLanguageAndUnitsReachTheModule)
{
    const std::string script = Write("edit.lua", "").string();
    const Outcome o = Run({"--script", script, "--lang", "3", "--units", "-7", "modify"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(Contains(o.out, "fake: script " + script + "\n"));
    EXPECT_TRUE(Contains(o.out, "fake: language 3 units -7\n"));
}

TEST_F(LamhostTest, FaultsReachTheStore)
{
    struct Case
    {
        std::vector<std::string> args;
        std::vector<const char *> shown;
    };
    const Case cases[] = {
        {{"--fail", "GetCurrentLaminate=7", "modify"},
         {"fake: GetCurrentLaminate returns 7\n", "\nNothing saved.\n"}},
        {{"--fail", "GetCurrentLaminatePlies=-2", "modify"},
         {"fake: GetCurrentLaminatePlies returns -2\n", "\nNothing saved.\n"}},
        {{"--fail", "SaveLaminate=999@1", "modify", "modify"},
         {"fake: save returns 999\nfake: modeler 0\n", "fake: save returns 0\n",
          "Laminate save 1: mode 2 (modify), refused with result 999\n",
          "Laminate save 2: mode 2 (modify), saved as \"Demo laminate\""}},
        {{"--fail", "getunitsystem=-3", "--fail", "GetScriptPath=0", "create"},
         {"fake: language 0 units -3\n", "fake: script \n"}},
        {{"--fail", "GetColorCount=200000", "sketch"}, {"fake: sketcher, 200000 colours\n"}},
        {{"--fail", "SavePlyMaterial=5", "--pick", "matrix=201", "--pick", "fiber=101", "plymat"},
         {"fake: ply material save returns 5\n", "Ply material save 1: refused with result 5\n"}},
        {{"--fail", "SelectMaterial=0@2", "--pick", "matrix=202", "--pick", "fiber=103",
          "plymat"},
         {"fake: picked matrix 202 (rc 0), fibre -1 (rc 0)\n", "\nNothing saved.\n"}},
    };
    for (const Case &c : cases) {
        const Outcome o = Run(c.args);
        const std::string where = testing::PrintToString(c.args);
        EXPECT_EQ(o.status, 0) << where << o.err;
        for (const char *s : c.shown)
            EXPECT_TRUE(Contains(o.out, s)) << where << ": " << s << "\n" << o.out;
    }
}

TEST_F(LamhostTest, PicksAnswerTheirKindInOrder)
{
    struct Case
    {
        std::vector<std::string> args;
        const char *shown;
    };
    const Case cases[] = {
        {{"plymat"}, "fake: picked matrix -1 (rc 1), fibre -1 (rc 1)\n"},
        {{"--pick", "fibre=101", "--pick", "MATRIX=201", "plymat"},
         "fake: picked matrix 201 (rc 0), fibre 101 (rc 0)\n"},
        {{"--pick", "2=102", "--pick", "1=202", "--pick", "1=201", "plymat", "plymat"},
         "fake: picked matrix 202 (rc 0), fibre 102 (rc 0)\n"
         "fake: ply material save returns 0\n"
         "fake: picked matrix 201 (rc 0), fibre -1 (rc 1)\n"},
        {{"--pick", "ply=301", "--pick", "matrix=-1", "--pick", "fiber=102", "plymat"},
         "fake: picked matrix -1 (rc 0), fibre 102 (rc 0)\n"},
    };
    for (const Case &c : cases) {
        const Outcome o = Run(c.args);
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_TRUE(Contains(o.out, c.shown)) << testing::PrintToString(c.args) << "\n" << o.out;
    }

    const Outcome saved = Run({"--pick", "matrix=201", "--pick", "fiber=101", "plymat"});
    EXPECT_TRUE(Contains(saved.out, "Ply material save 1: saved\n"
                                    "  matrix material 201 Epoxy resin, fibre material 101 HS "
                                    "carbon fibre\n"
                                    "  matrix fraction 0.4, fibre fraction 0.6\n"
                                    "  elastic theory 1 (Halpin-Tsai), factors E11 1, E22 1, NU12 "
                                    "1, NU23 1, G12 1\n"
                                    "  Halpin-Tsai option 1 (Continuous Fiber), extra option 0\n"
                                    "  aspect ratio 0.5, transverse ribbon 0.5\n"
                                    "  ribbon length 0.01, ribbon width 0.01, ribbon thickness "
                                    "0.005\n"
                                    "  thermal theory 1 (Levin)\n"))
        << saved.out;
}

TEST_F(LamhostTest, SaveStoreWritesTheStoreBack)
{
    LamHost::StoreData data = LamHost::DemoStore();
    data.laminates[0].tsaiWuType = 1; // as the fake module saves it
    data.laminates[0].plies[3].angle = 0.1f;
    const fs::path in = StoreFile("in.json", data);

    // What the module saved unchanged comes back equal, bit for bit.
    Outcome o = Run({"--store", in.string(), "--save-store", (dir_ / "same.json").string(),
                     "modify", "sketch"});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(ReadStore(dir_ / "same.json"), data);

    o = Run({"--store", in.string(), "--save-store", (dir_ / "more.json").string(), "--lang", "4",
             "--pick", "matrix=201", "--pick", "fiber=101", "create", "plymat"});
    ASSERT_EQ(o.status, 0) << o.err;
    const LamHost::StoreData more = ReadStore(dir_ / "more.json");
    EXPECT_EQ(more.language, 4);
    ASSERT_EQ(more.laminates.size(), 2u);
    EXPECT_EQ(more.current, 1);
    EXPECT_EQ(more.laminates[1].name, "Laminate 2");
    EXPECT_EQ(more.laminates[1].plies,
              (std::vector<LamHost::HostPly>{{0.25f, 0.0f, 301, 2}, {0.5f, 90.0f, 302, 3}}));
    ASSERT_EQ(more.plyMaterials.size(), 1u);
    EXPECT_EQ(more.plyMaterials[0].matrixMaterial, 201);
    EXPECT_EQ(more.plyMaterials[0].fiberMaterial, 101);

    // A store that cannot be written is a failure, after the report.
    o = Run({"--save-store", dir_.string(), "sketch"});
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(Contains(o.err, "lamhost: cannot write " + dir_.string())) << o.err;
    EXPECT_TRUE(Contains(o.out, "Nothing saved."));
}

} // namespace
