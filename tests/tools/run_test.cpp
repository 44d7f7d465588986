// The ./run script, in a copy of the repository's scripts whose set-up, cmake and
// lamhost are stand-ins that print what they were given.

#include "host/testenv.h"
#include "tests/tools/runprogram.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

void Script(const TempDir &dir, const std::string &relative, const std::string &text)
{
    fs::permissions(dir.Write(relative, "#!/bin/sh\n" + text), fs::perms::owner_all);
}

TEST(Run, TakesPathsFromTheCallersFolderAndBuildsOnlyTheModuleAndLamhost)
{
    TempDir dir;
    const std::string repo = dir.Path() + "/repo", caller = dir.Path() + "/work";
    fs::create_directories(repo + "/tools");
    fs::copy_file(SOURCE_DIR "/run", repo + "/run");
    fs::copy_file(SOURCE_DIR "/tools/build.sh", repo + "/tools/build.sh");
    Script(dir, "repo/tools/install-deps", "echo installing\n");
    Script(dir, "bin/cmake", "echo \"cmake $*\"\n");
    Script(dir, "repo/build/release/tools/lamhost/lamhost", "echo \"in $PWD\"; for a; do echo \"arg $a\"; done\n");
    dir.Write("work/sub/edit.lua", "");
    ScopedEnv env;
    env.Set("PATH", dir.Path() + "/bin:" + std::getenv("PATH"));

    const struct
    {
        std::string cwd;
        std::vector<std::string> args;
        std::string printed;
    } cases[] = {
        {caller, {"sub/edit.lua"}, "in " + caller + "\narg --script\narg sub/edit.lua\narg modify\n"},
        {caller, {"--store", "s.json", "plymat"}, "in " + caller + "\narg --store\narg s.json\narg plymat\n"},
        {caller, {}, "in " + caller + "\narg --script\narg " + repo + "/examples/quasi_isotropic.lua\narg create\n"},
        {repo, {}, "in " + repo + "\narg --script\narg examples/quasi_isotropic.lua\narg create\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args) + " in " + c.cwd);
        const Outcome o = RunProgram(repo + "/run", c.args, dir.Path(), c.cwd);
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.out, c.printed);
        EXPECT_NE(o.err.find("installing\n"), std::string::npos) << o.err;
        EXPECT_NE(o.err.find("cmake --build build/release -j "), std::string::npos) << o.err;
        EXPECT_NE(o.err.find(" --target corvane lamhost\n"), std::string::npos) << o.err;
    }
}

} // namespace
