// A whole interactive session through the real dialogs, offscreen, against the
// host stand-in, checked against the same edits made by a script.

#include "formdriver.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/forms/layupform.h"
#include "gui/forms/modelerform.h"
#include "gui/forms/plydataform.h"
#include "gui/guiappcontext.h"
#include "gui/guimodule.h"
#include "gui/guitest.h"
#include "gui/views/layuptreeitem.h"
#include "host/testenv.h"
#include "script/scriptmodule.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using namespace FormDriver;

namespace {

// Selects the rows of these plies and top-level groups as a user would
// (Ctrl-click); groups null: every top-level group and link.
void SelectRows(LayupForm *form, const std::vector<int> &plies, const std::vector<int> *groups)
{
    auto *list = Child<QTreeWidget>(form, "wLamTreeList");
    list->clearSelection();
    for (QTreeWidgetItemIterator it(list); *it; ++it) {
        const auto *row = dynamic_cast<LayupTreeItem *>(*it);
        if (!row->IsGroup())
            (*it)->setSelected(std::find(plies.begin(), plies.end(), row->Id()) != plies.end());
        else if (!row->IsChild() && !(*it)->parent())
            (*it)->setSelected(!groups || std::find(groups->begin(), groups->end(), row->Id()) != groups->end());
    }
}

// New, then in the ply data dialog the host picker's material (queued), a
// thickness, an angle and a colour, and OK.
void AddPly(LamHost::Store &store, LayupForm *form, int material, const char *thickness, const char *angle,
            const char *color)
{
    store.QueuePick(material);
    GuiTest::WhenModal<PlyDataForm>([=](PlyDataForm *dialog) {
        emit Child<QPushButton>(dialog, "wMaterialButton")->pressed();
        GuiTest::TypeText(Child(dialog, "wThicknessEdit"), thickness);
        GuiTest::TypeText(Child(dialog, "wAngleEdit"), angle);
        Choose(dialog, "wColorMenu", color);
        QPixmap both = form->grab(); // the dialog over the layup dialog
        QPainter(&both).drawPixmap(both.width() / 2 - dialog->width() / 2, 80, dialog->grab());
        GuiTest::SavePicture(both, "session-plydata-over-layup");
        Click(dialog, "wDoneButton");
    });
    Click(form, "wNewButton");
}

// Automatic grouping; the progress dialog must already show when the loop
// first lets events through, and Abort then ends the grouping.
void AutoGroup(LayupForm *form, bool abort)
{
    bool seen = false;
    QTimer::singleShot(0, form, [form, abort, &seen] {
        auto *progress = form->findChild<QProgressDialog *>("progress");
        seen = progress && progress->isVisible() && progress->labelText() == "Analyzing plies...";
        GuiTest::SaveScreenshot(progress, "session-progress");
        if (abort)
            progress->cancel();
    });
    Click(form, "wAutoGroupsButton");
    EXPECT_TRUE(seen) << "the progress dialog shows at once";
}

TEST(LayupSessionTest, DialogsSaveWhatTheSameScriptSaves)
{
    ResetPlyDataEntries();
    LamHost::Store gui(LamHost::DemoStore());
    gui.Activate();
    GuiAppContext context(LamHost::CallbackTable());
    GuiModule module(&context, "v11.1");
    std::string undone;
    GuiTest::WhenModal<LayupForm>([&](LayupForm *form) {
        AddPly(gui, form, 301, "0.125", "0", "Red");
        AddPly(gui, form, 301, "0.125", "45", "Green");
        AddPly(gui, form, 302, "0.25", "90", "Blue");
        const std::vector<int> none, link{2};
        SelectRows(form, {1, 2}, &none);
        Click(form, "wIndentToolButton");
        SelectRows(form, {}, nullptr);
        Click(form, "wCopyButton");
        Choose(form, "wPasteMenu", "Symmetric");
        Click(form, "wPasteButton"); // nothing selected: on top, as a link to the group
        SelectRows(form, {4, 5}, &none); // the pasted plies
        GuiTest::SaveScreenshot(form, "session-after-symmetric-paste");
        SelectRows(form, {}, &link);
        Click(form, "wUnlinkToolButton");
        SelectRows(form, {}, nullptr);
        Click(form, "wLinkToolButton");
        undone = Child<QPushButton>(form, "wUndoButton")->toolTip().toStdString();
        Click(form, "wUndoButton");
        AutoGroup(form, true);
        EXPECT_EQ(Child<QPushButton>(form, "wUndoButton")->toolTip(), "Undo Unlink groups") << "nothing recorded";
        AutoGroup(form, false);
        GuiTest::WhenModal<ModelerForm>([](ModelerForm *properties) {
            SetText(properties, "wRefTempEdit", "35");
            SetText(properties, "wDampingEdit", "0.25");
            Click(properties, "wDoneButton");
        });
        Click(form, "wLamOptionButton");
        Click(form, "wOkButton");
    });
    module.Modeler(true);
    EXPECT_EQ(undone, "Undo Link Groups");

    LamHost::Store script(LamHost::DemoStore());
    script.Activate();
    TempDir dir;
    const std::string path = dir.Write("session.lua", R"(
AddPly{Material = 301, Thickness = 0.125, Angle = 0, Color = 2}
AddPly{Material = 301, Thickness = 0.125, Angle = 45, Color = 3}
AddPly{Material = 302, Thickness = 0.25, Angle = 90, Color = 4}
SelectPly(1) SelectPly(2) Group()
UnselectAll() SelectGroup(1) Copy()
UnselectAll() Paste{Style = "Symmetry"}
UnselectAll() SelectGroup(2) Unlink()
AutoGroup()
SetProperties{RefTemperature = 35, Damping = 0.25}
)");
    AppContext scriptContext(LamHost::CallbackTable());
    ScriptModule(&scriptContext, path.c_str(), "v11.1").Modeler(true);

    ASSERT_EQ(gui.LaminateSaves().size(), 1u);
    ASSERT_EQ(script.LaminateSaves().size(), 1u);
    const auto fields = [](const LamHost::LaminateSave &s) {
        return std::make_tuple(s.saveMode, s.failureTheory, s.hostOption, s.referencePlane, s.bondingStress,
                               s.tsaiWuType, s.tsaiWuCoefficient, s.nonStructuralMass, s.damping,
                               s.referenceTemperature, s.plyCount, s.plies);
    };
    const LamHost::LaminateSave &byHand = gui.LaminateSaves()[0];
    EXPECT_EQ(std::make_tuple(byHand.saveMode, byHand.plyCount, byHand.damping, byHand.referenceTemperature),
              std::make_tuple(static_cast<int>(lamSaveCreate), 5, 0.25, 35.0));
    EXPECT_TRUE(fields(byHand) == fields(script.LaminateSaves()[0]));
}

} // namespace
