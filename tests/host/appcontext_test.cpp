#include "host/appcontext.h"

#include "core/laminate.h"
#include "core/plygroup.h"
#include "core/plymaterial.h"
#include "core/plysimple.h"
#include "host/helpsystem.h"
#include "host/materiallist.h"
#include "host/testenv.h"
#include "tools/lamhost/store.h"
#include "util/logger.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

using LamHost::Fault;
using LamHost::Slot;
using LamHost::Store;

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Contains(const std::vector<std::string> &lines, const std::string &line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class AppContextTest : public ::testing::Test
{
protected:
    AppContextTest()
        : store_(LamHost::DemoStore())
    {
        store_.Activate();
        env_.Unset("CORVANE_DEBUG");
        env_.Unset("OVRA_STB");
    }

    // A context through the store's table, with its application and log set up.
    std::unique_ptr<AppContext> Started()
    {
        auto context = std::make_unique<AppContext>(LamHost::CallbackTable());
        context->CreateApplication(false);
        context->Initialize();
        return context;
    }

    Store store_;
    ScopedEnv env_;
};

TEST_F(AppContextTest, WithoutDebugOnlyUserLinesReachTheHost)
{
    TempDir dir;
    ScopedCwd cwd(dir.Path());
    auto context = Started();
    Tuvo::Logger::Root()->Log(0, "trace line");
    Tuvo::Logger::Root()->Log(20, "user line");
    EXPECT_FALSE(Contains(store_.Transcript(), "trace line"));
    EXPECT_TRUE(Contains(store_.Transcript(), "user line"));
    EXPECT_FALSE(context->IsDebug());
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/corvane.log"));
}

TEST_F(AppContextTest, DebugSendsTraceLinesToHostAndLogFile)
{
    TempDir dir;
    ScopedCwd cwd(dir.Path());
    env_.Set("CORVANE_DEBUG", "");
    {
        auto first = Started();
        Tuvo::Logger::Root()->Log(0, "first request");
        first->SuspendLog();
    }
    EXPECT_TRUE(Contains(store_.Transcript(), "first request"));
    EXPECT_TRUE(Contains(store_.Transcript(), "Begin Corvane application (corvane.so)"));
    {
        auto second = Started();
        Tuvo::Logger::Root()->Log(0, "second request");
        second->SuspendLog();
    }
    const std::string log = ReadFile(dir.Path() + "/corvane.log");
    EXPECT_NE(log.find("second request\n"), std::string::npos);
    EXPECT_EQ(log.find("first request"), std::string::npos) << "the file holds the latest request only";
    EXPECT_NE(log.find("language file is corvane_en.qm\n"), std::string::npos);
}

std::vector<std::string> gFirstLines, gSecondLines;
void FirstShowMessage(const char *line) { gFirstLines.push_back(line); }
void SecondShowMessage(const char *line) { gSecondLines.push_back(line); }

TEST_F(AppContextTest, EachRequestSeesOnlyItsOwnDestinations)
{
    gFirstLines.clear();
    gSecondLines.clear();
    lamCallbacksImp first = *LamHost::CallbackTable(), second = first;
    first.ShowMessage = FirstShowMessage;
    second.ShowMessage = SecondShowMessage;

    auto one = std::make_unique<AppContext>(&first);
    one->CreateApplication(false);
    one->Initialize();
    auto two = std::make_unique<AppContext>(&second);
    two->Initialize(); // replaces the earlier request's logger
    Tuvo::Logger::Root()->Log(20, "x");
    one.reset(); // must not take the second request's logger with it
    Tuvo::Logger::Root()->Log(20, "y");
    EXPECT_EQ(gFirstLines, std::vector<std::string>{});
    EXPECT_EQ(gSecondLines, (std::vector<std::string>{"x", "y"}));
    two.reset();
    Tuvo::Logger::Root()->Log(20, "z");
    EXPECT_EQ(gSecondLines.size(), 2u) << "no host callback after the request ended";
}

TEST_F(AppContextTest, LanguagePicksTranslationFileAndHelpLanguage)
{
    struct Row { int language; const char *file; const char *help; };
    const Row rows[] = {{1, "corvane_fr.qm", "French"}, {2, "corvane_ge.qm", "English"}, {5, "corvane_en.qm", "English"},
                        {6, "corvane_ja.qm", "Japanese"}, {99, "corvane_chef.qm", "English"},
                        {0, "corvane_en.qm", "English"}};
    env_.Set("CORVANE_DEBUG", "1");
    TempDir dir;
    ScopedCwd cwd(dir.Path());
    for (const Row &row : rows) {
        store_.Data().language = row.language;
        store_.ClearRecords();
        auto context = Started();
        EXPECT_TRUE(Contains(store_.Transcript(), std::string("language file is ") + row.file)) << row.language;
        EXPECT_EQ(HelpSystem::Instance()->Language(), row.help) << row.language;
        EXPECT_EQ(context->GetLanguage(), row.language);
    }
}

TEST_F(AppContextTest, ReportErrorTranslatesWithTheTitleAsContext)
{
    store_.Data().language = 1;
    env_.Set("OVRA_STB", TRANSLATIONS_DIR);
    {
        auto context = Started();
        context->ReportError("Reading Laminate definition", "Error loading current laminate");
        context->ReportError("Saving Laminate", "Error loading current laminate"); // other context: untranslated
    }
    const std::vector<std::string> expected = {
        "INITIALIZATION ERROR: Lecture de la définition du stratifié", "Erreur de chargement du stratifié courant",
        "INITIALIZATION ERROR: Saving Laminate", "Error loading current laminate"};
    EXPECT_EQ(store_.Transcript(), expected);
}

TEST_F(AppContextTest, LaminateInitForCreatingNeverLoads)
{
    auto context = Started();
    ASSERT_TRUE(context->LaminateInit(true));
    EXPECT_EQ(store_.Calls(Slot::GetCurrentLaminate), 0);
    EXPECT_EQ(context->GetLaminate().Name(), "Laminate");
    EXPECT_EQ(context->GetLaminate().RootGroup().CountPlies(), 0);
    EXPECT_NE(context->GetColorManager(), nullptr);
    EXPECT_NE(context->GetLayupManager(), nullptr);
}

TEST_F(AppContextTest, LaminateInitForModifyingLoadsAndCachesMaterials)
{
    auto context = Started();
    ASSERT_TRUE(context->LaminateInit(false));
    const Laminate &laminate = context->GetLaminate();
    EXPECT_EQ(laminate.RootGroup().CountPliesExpanded(), 8);
    EXPECT_FALSE(laminate.IsModified());
    std::vector<PlySimple> plies;
    laminate.RootGroup().CollectPlies(plies);
    for (const PlySimple &ply : plies)
        EXPECT_TRUE(context->GetMaterialList()->Contains(ply.Material())) << ply.Material();
}

TEST_F(AppContextTest, LoadingAsksForEachMaterialOnce)
{
    // Plies of 301 and of 999, which the host does not know, in turn.
    auto &plies = store_.Data().laminates[0].plies;
    for (size_t i = 0; i < plies.size(); i += 2)
        plies[i].material = 999;
    auto context = Started();
    ASSERT_TRUE(context->LaminateInit(false));
    EXPECT_EQ(store_.Calls(Slot::GetMaterial), 2);
    EXPECT_TRUE(context->GetMaterialList()->Contains(301));
    EXPECT_FALSE(context->GetMaterialList()->Contains(999));
}

TEST_F(AppContextTest, FailedLoadIsReported)
{
    store_.SetFault(Slot::GetCurrentLaminate, Fault::Fail(3));
    auto context = Started();
    EXPECT_FALSE(context->LaminateInit(false));
    const std::vector<std::string> expected = {"INITIALIZATION ERROR: Reading Laminate definition",
                                               "Error loading current laminate"};
    EXPECT_EQ(store_.Transcript(), expected);
    EXPECT_EQ(store_.Calls(Slot::GetCurrentLaminatePlies), 0);
}

TEST_F(AppContextTest, PlyMaterialInitResetsToUnitDefaults)
{
    store_.Data().unitSystem = 5;
    auto context = Started();
    context->GetPlyMaterial().SetFiberFraction(0.9);
    EXPECT_TRUE(context->PlyMaterialInit());
    EXPECT_EQ(context->GetPlyMaterial().FiberFraction(), 0.6);
    EXPECT_DOUBLE_EQ(context->GetPlyMaterial().RibbonLength(), 0.1);
    EXPECT_NE(context->GetPlyMaterialSaver(), nullptr);
    std::string error;
    EXPECT_TRUE(context->SavePlyMaterial(error));
    ASSERT_EQ(store_.PlyMaterialSaves().size(), 1u);
    EXPECT_EQ(store_.PlyMaterialSaves()[0].material.fiberFraction, 0.6);
}

// The application object is created and deleted with each request.
TEST_F(AppContextTest, ApplicationObjectPerRequest)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    for (bool gui : {true, false, true}) {
        AppContext context(LamHost::CallbackTable());
        EXPECT_TRUE(context.CreateApplication(gui));
        EXPECT_FALSE(context.CreateApplication(gui)) << "one per context";
        EXPECT_NE(QCoreApplication::instance(), nullptr);
        AppContext nested(LamHost::CallbackTable());
        EXPECT_TRUE(nested.CreateApplication(gui)) << "an existing application is used";
        EXPECT_EQ(nested.GetApplication(), context.GetApplication());
    }
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

// Creating the toolkit application sets the C locale from the environment;
// the host's process keeps its own.
TEST_F(AppContextTest, ApplicationLeavesTheProcessLocaleAlone)
{
    env_.Set("LC_ALL", "C.UTF-8");
    const std::string before = std::setlocale(LC_ALL, nullptr);
    for (bool gui : {false, true}) {
        AppContext context(LamHost::CallbackTable());
        ASSERT_TRUE(context.CreateApplication(gui));
        EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before) << gui;
    }
}

} // namespace
