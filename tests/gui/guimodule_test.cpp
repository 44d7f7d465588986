// The interactive operations' loops, with dialog doubles in place of the
// dialogs: what is saved when, the warning boxes, the splash.

#include "gui/guiappcontext.h"
#include "gui/guimodule.h"
#include "gui/guimoduletesting.h"
#include "guitest.h"
#include "host/testenv.h"
#include "core/laminate.h"
#include "core/layupmanager.h"
#include "core/selection.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>

#include <algorithm>
#include <deque>

namespace {

using LamHost::Fault;
using LamHost::Slot;

// What one Exec of a dialog double does: an edit, then its answer.
struct Step
{
    int result = 1; // 1 OK, 0 Cancel
    bool again = false;
    std::function<void(AppContext &)> edit;
};

// A dialog double: each Exec plays the fixture's next step.
class ScriptedDialog : public GuiDialog
{
public:
    explicit ScriptedDialog(std::function<int(bool *)> exec) : exec_(std::move(exec)) {}
    int Exec(bool *again) override { return exec_(again); }

private:
    std::function<int(bool *)> exec_;
};

void AddPly(AppContext &context) { context.GetLayupManager()->AddPly(Selection(), 301, 0.125f, 45.0f, 1); }
void EditProperty(AppContext &context) { context.GetLaminate().SetDamping(0.25); }

// The splash window of this process, if one is up.
QLabel *SplashWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "splash" && widget->isVisible())
            return qobject_cast<QLabel *>(widget);
    return nullptr;
}

class GuiModuleTest : public ::testing::Test
{
protected:
    GuiModuleTest()
        : cwd_(dir_.Path()), store_(LamHost::DemoStore())
    {
        store_.Activate();
        env_.Set("CORVANE_DEBUG", "1"); // the trace lines reach the host
        env_.Unset("OVRA_STB");
        ResetSplashFlags();
        SetGuiDialogFactory([this](GuiDialogKind, AppContext *context, bool) {
            return std::make_unique<ScriptedDialog>([this, context](bool *again) { return Play(*context, again); });
        });
    }
    ~GuiModuleTest() override { SetGuiDialogFactory({}); }

    int Play(AppContext &context, bool *again)
    {
        ++execs_;
        if (steps_.empty()) {
            ADD_FAILURE() << "the dialog came back once too often";
            return 0;
        }
        const Step step = steps_.front();
        steps_.pop_front();
        if (step.edit)
            step.edit(context);
        if (again) // the ply material dialog is not asked
            *again = step.again;
        return step.result;
    }

    // One request as the session runs it: a fresh context and module.
    void Run(const std::function<void(GuiModule &)> &operation)
    {
        store_.ClearRecords();
        store_.BeginRequest();
        execs_ = 0;
        GuiAppContext context(LamHost::CallbackTable());
        GuiModule module(&context, "v11.1");
        operation(module);
        EXPECT_TRUE(steps_.empty()) << "the dialog ran fewer times than scripted";
    }
    void Create() { Run([](GuiModule &m) { m.Modeler(true); }); }
    void Modify() { Run([](GuiModule &m) { m.Modeler(false); }); }
    void PlyMaterial() { Run([](GuiModule &m) { m.CreatePlyMaterial(); }); }

    bool Logged(const std::string &line) const
    {
        const auto &lines = store_.Transcript();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    ScopedEnv env_;
    TempDir dir_;
    ScopedCwd cwd_;
    LamHost::Store store_;
    std::deque<Step> steps_;
    int execs_ = 0;
};

TEST_F(GuiModuleTest, ANewLaminateWithoutPliesIsNeverSaved)
{
    steps_ = {{1, false, EditProperty}}; // OK with only a property changed
    Create();
    steps_ = {{0, false, AddPly}}; // Cancel
    Create();
    EXPECT_TRUE(Logged("Laminate has not changed, not saving."));
    EXPECT_TRUE(Logged("GuiModule::Modeler done"));
    EXPECT_EQ(store_.Calls(Slot::SaveLaminate), 0);
    EXPECT_EQ(store_.Calls(Slot::GetCurrentLaminate), 0);
}

TEST_F(GuiModuleTest, ApplySavesAndBringsTheDialogBackThenOkSavesAPropertyChange)
{
    steps_ = {{1, true, AddPly}, {1, false, EditProperty}};
    Create();
    EXPECT_EQ(execs_, 2);
    const auto &saves = store_.LaminateSaves();
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(saves[0].plyCount, 1);
    EXPECT_DOUBLE_EQ(saves[1].damping, 0.25);
    EXPECT_TRUE(Logged("GuiModule::Modeler the laminate has changed, saving..."));
}

TEST_F(GuiModuleTest, AFailedSaveShowsItsBoxAndTheDialogUntilASaveSucceeds)
{
    struct Row
    {
        int result;
        const char *text;
    };
    for (const Row row : {Row{999, "Error saving laminate, wrong Tsai-Wu interaction type?"},
                          Row{5, "Error saving current laminate"}}) {
        SCOPED_TRACE(row.result);
        store_.SetFault(Slot::SaveLaminate, Fault::Fail(row.result, 1));
        steps_ = {{1, false, AddPly}, {1, false, nullptr}};
        GuiTest::WarningCatcher catcher("save-failed");
        Modify();
        EXPECT_EQ(execs_, 2);
        ASSERT_EQ(catcher.Boxes().size(), 1u);
        EXPECT_EQ(catcher.Boxes()[0].title, "Saving Laminate Definition");
        EXPECT_EQ(catcher.Boxes()[0].text.toStdString(), row.text);
        EXPECT_TRUE(Logged("INITIALIZATION ERROR: Saving Laminate Definition"));
        ASSERT_EQ(store_.LaminateSaves().size(), 2u);
        EXPECT_EQ(store_.LaminateSaves()[1].result, 0);
    }
}

TEST_F(GuiModuleTest, AFailedPlyMaterialSaveShowsItsBoxAndTheDialogAgain)
{
    store_.SetFault(Slot::SavePlyMaterial, Fault::Fail(1, 1));
    steps_ = {{1, false, nullptr}, {1, false, nullptr}};
    GuiTest::WarningCatcher catcher;
    PlyMaterial();
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].title, "Creating Ply Material");
    EXPECT_TRUE(Logged("lamMain::CreatePlyMaterial saving..."));
    EXPECT_TRUE(Logged("GuiModule::CreatePlyMaterial done"));
    ASSERT_EQ(store_.PlyMaterialSaves().size(), 2u);
    EXPECT_EQ(store_.PlyMaterialSaves()[1].result, 0);
}

// The splash and the "Windows" style belong to a request that made the
// application object; a host's own application keeps its look.
TEST_F(GuiModuleTest, TheSplashGreetsOncePerGroupAndOnlyARequestThatMadeTheApplication)
{
    QPointer<QLabel> splash;
    std::string text; // the splash's, empty when none was up
    QString style;
    auto look = [&](AppContext &) {
        splash = SplashWindow();
        text = splash ? splash->text().toStdString() : "";
        style = QApplication::style()->name();
        GuiTest::SaveScreenshot(splash, "splash");
    };
    const QString hostStyle = QApplication::style()->name();
    ASSERT_NE(hostStyle, "windows");
    // The host's own application: no splash, and none counted as shown.
    steps_ = {{0, false, look}};
    Create();
    EXPECT_EQ(text, "");
    EXPECT_EQ(style, hostStyle);

    GuiTest::NoSharedApplication own;
    struct Row
    {
        const char *name;
        std::function<void()> request;
        bool shown;
    };
    const Row rows[] = {
        {"first modeler", [this] { Create(); }, true},
        {"second modeler", [this] { Modify(); }, false},
        {"first ply material", [this] { PlyMaterial(); }, true},
        {"second ply material", [this] { PlyMaterial(); }, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        steps_ = {{0, false, look}};
        row.request();
        EXPECT_EQ(text, row.shown ? "initializing Corvane Modeler... v11.1" : "");
        EXPECT_EQ(style, "windows");
        EXPECT_TRUE(splash.isNull()) << "the splash outlived its operation";
        EXPECT_EQ(QCoreApplication::instance(), nullptr);
    }
}

TEST_F(GuiModuleTest, AFailedLoadOpensNoDialogAndRemovesTheSplashAtOnce)
{
    GuiTest::NoSharedApplication own;
    store_.Data().language = 1;
    env_.Set("OVRA_STB", TRANSLATIONS_DIR);
    store_.SetFault(Slot::GetCurrentLaminate, Fault::Fail(1));
    QPointer<QLabel> splash;
    QString title;
    GuiTest::OnNextApplication([&] {
        GuiTest::WhenModal<QMessageBox>([&](QMessageBox *box) {
            splash = SplashWindow();
            title = box->windowTitle();
            box->accept();
        });
    });
    Modify();
    EXPECT_EQ(execs_, 0);
    EXPECT_EQ(title.toStdString(), "Lecture de la définition du stratifié"); // translated in its title's context
    EXPECT_TRUE(Logged("INITIALIZATION ERROR: Lecture de la définition du stratifié"));
    EXPECT_TRUE(splash.isNull());
    EXPECT_TRUE(Logged("GuiModule::Modeler done"));
}

// Running out of memory while a dialog starts: the splash goes with the exception.
TEST_F(GuiModuleTest, ARequestThatThrowsWhileStartingTakesTheSplashWithIt)
{
    GuiTest::NoSharedApplication own;
    QPointer<QLabel> splash;
    bool wasUp = false;
    auto fail = [&] {
        splash = SplashWindow();
        wasUp = !splash.isNull();
        throw std::bad_alloc();
    };
    SetGuiDialogFactory([&](GuiDialogKind, AppContext *, bool) -> std::unique_ptr<GuiDialog> {
        fail();
        return nullptr;
    });
    struct Row
    {
        const char *name;
        std::function<void()> request;
        const char *failingLine; // the load logs it; null: building the dialog fails
    };
    const Row rows[] = {
        {"the load", [this] { Create(); }, "in GuiModule::Modeler"},
        {"the layup dialog", [this] { Modify(); }, nullptr},
        {"the sketcher", [this] { Run([](GuiModule &m) { m.Sketcher(); }); }, nullptr},
        {"the ply material dialog", [this] { PlyMaterial(); }, nullptr},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ResetSplashFlags();
        wasUp = false;
        store_.SetLineSink([&](const std::string &line) {
            if (row.failingLine && line == row.failingLine)
                fail();
        });
        EXPECT_THROW(row.request(), std::bad_alloc);
        EXPECT_TRUE(wasUp);
        EXPECT_TRUE(splash.isNull()) << "the splash outlived its request";
    }
}

TEST_F(GuiModuleTest, AUserWhoClosesTheSplashEarlyCrashesNothing)
{
    GuiTest::NoSharedApplication own;
    steps_ = {{0, false, [](AppContext &) {
                   QLabel *window = SplashWindow();
                   ASSERT_NE(window, nullptr);
                   window->close(); // deleted on close by the toolkit
                   QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
               }}};
    Create();
    EXPECT_EQ(execs_, 1);
}

TEST_F(GuiModuleTest, WithoutADisplayTheRequestEndsWithOneLine)
{
    GuiTest::NoSharedApplication own;
    ScopedEnv noDisplay; // goes before the shared application comes back
    noDisplay.Unset("CORVANE_DEBUG");
    for (const char *display : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY"})
        noDisplay.Unset(display);
    noDisplay.Set("DISPLAY", ":4321"); // names a server that is not there
    EXPECT_FALSE(GuiAppContext::DisplayAvailable());
    noDisplay.Set("QT_QPA_PLATFORM", "xcb"); // the X platform named is no display either
    EXPECT_FALSE(GuiAppContext::DisplayAvailable());
    noDisplay.Unset("QT_QPA_PLATFORM");
    Modify();
    EXPECT_EQ(store_.Transcript(), std::vector<std::string>{"Interactive mode needs a display (DISPLAY or "
                                                            "WAYLAND_DISPLAY): nothing was changed."});
    EXPECT_EQ(store_.Calls(Slot::GetCurrentLaminate), 0);
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

} // namespace
