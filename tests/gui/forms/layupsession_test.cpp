// A whole interactive session through the real dialogs, offscreen, against the
// host stand-in, checked against the same edits made by a script.

#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "formdriver.h"
#include "gui/engines/plydataformtesting.h"
#include "gui/forms/layupform.h"
#include "gui/forms/modelerform.h"
#include "gui/forms/plydataform.h"
#include "gui/guiappcontext.h"
#include "gui/guimodule.h"
#include "gui/guitest.h"
#include "gui/views/layuptree.h"
#include "gui/views/layuptreeitem.h"
#include "host/laminatemanager.h"
#include "host/testenv.h"
#include "script/scriptmodule.h"
#include "tools/lamhost/store.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <functional>
#include <string>
#include <vector>

using namespace FormDriver;

namespace {

struct NewPly
{
    int material;
    const char *thickness, *angle, *color;
};

// Selects the rows of these plies and groups as a user would (Ctrl-click).
void SelectRows(LayupForm *form, const std::vector<int> &plies, const std::vector<int> &groups)
{
    auto *list = Child<QTreeWidget>(form, "wLamTreeList");
    list->clearSelection();
    for (QTreeWidgetItemIterator it(list); *it; ++it) {
        const auto *row = dynamic_cast<LayupTreeItem *>(*it);
        if (!row || row->IsChild())
            continue;
        const std::vector<int> &ids = row->IsGroup() ? groups : plies;
        if (std::find(ids.begin(), ids.end(), row->Id()) != ids.end())
            (*it)->setSelected(true);
    }
}

// The group ids of the tree's top-level group and link rows, top row first.
std::vector<int> TopGroups(LayupForm *form)
{
    std::vector<int> ids;
    auto *list = Child<QTreeWidget>(form, "wLamTreeList");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (const auto *row = dynamic_cast<LayupTreeItem *>(list->topLevelItem(i)); row && row->IsGroup())
            ids.push_back(row->Id());
    return ids;
}

// Calls action with every widget shown while it lives, as it shows.
class ShowWatch : public QObject
{
public:
    explicit ShowWatch(std::function<void(QWidget *)> action) : action_(std::move(action))
    {
        qApp->installEventFilter(this);
    }
    ~ShowWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Show && object->isWidgetType() && static_cast<QWidget *>(object)->isWindow())
            action_(static_cast<QWidget *>(object));
        return false;
    }

private:
    std::function<void(QWidget *)> action_;
};

class LayupSessionTest : public ::testing::Test
{
protected:
    LayupSessionTest() { ResetPlyDataEntries(); }

    // The New button, and in the ply data dialog the host picker's material
    // (queued), a thickness, an angle and a colour, then OK.
    void AddPly(LayupForm *form, const NewPly &ply, const char *screenshot = nullptr)
    {
        gui.QueuePick(ply.material);
        GuiTest::WhenModal<PlyDataForm>([form, ply, screenshot](PlyDataForm *dialog) {
            emit Child<QPushButton>(dialog, "wMaterialButton")->pressed();
            GuiTest::TypeText(Child(dialog, "wThicknessEdit"), ply.thickness);
            GuiTest::TypeText(Child(dialog, "wAngleEdit"), ply.angle);
            Choose(dialog, "wColorMenu", ply.color);
            if (screenshot) {
                QPixmap both = form->grab();
                QPainter painter(&both);
                painter.drawPixmap(both.width() / 2 - dialog->width() / 2, 80, dialog->grab());
                painter.end();
                GuiTest::SavePicture(both, screenshot);
            }
            Click(dialog, "wDoneButton");
        });
        Click(form, "wNewButton");
    }

    // Automatic grouping; abort: the Abort button as soon as the progress
    // dialog shows, which must be before the grouping ends.
    static void AutoGroup(LayupForm *form, bool abort, const char *screenshot = nullptr)
    {
        int shown = 0;
        ShowWatch watch([abort, screenshot, &shown](QWidget *window) {
            auto *progress = qobject_cast<QProgressDialog *>(window);
            if (!progress || shown++)
                return;
            EXPECT_EQ(progress->objectName(), "progress");
            EXPECT_EQ(progress->labelText(), "Analyzing plies...");
            EXPECT_TRUE(progress->isModal());
            if (screenshot)
                GuiTest::SaveScreenshot(progress, screenshot);
            if (abort)
                progress->cancel();
        });
        Click(form, "wAutoGroupsButton");
        EXPECT_GE(shown, 1) << "the progress dialog shows at once";
    }

    LamHost::Store gui{LamHost::DemoStore()};
    LamHost::Store script{LamHost::DemoStore()};
    TempDir dir;
};

TEST_F(LayupSessionTest, DialogsSaveWhatTheSameScriptSaves)
{
    gui.Activate();
    GuiAppContext context(LamHost::CallbackTable());
    GuiModule module(&context, "v11.1");
    std::string undone;
    GuiTest::WhenModal<LayupForm>([&](LayupForm *form) {
        AddPly(form, {301, "0.125", "0", "Red"}, "session-plydata-over-layup");
        AddPly(form, {301, "0.125", "45", "Green"});
        AddPly(form, {302, "0.25", "90", "Blue"});
        SelectRows(form, {1, 2}, {});
        Click(form, "wIndentToolButton");
        const std::vector<int> groups = TopGroups(form);
        ASSERT_EQ(groups.size(), 1u);
        SelectRows(form, {}, groups);
        Click(form, "wCopyButton");
        Choose(form, "wPasteMenu", "Symmetric");
        Click(form, "wPasteButton"); // nothing selected: on top
        // The symmetric copy of a whole group comes as a link to it.
        const std::vector<int> pasted = TopGroups(form);
        ASSERT_EQ(pasted.size(), 2u);
        SelectRows(form, {}, {pasted[0]});
        GuiTest::SaveScreenshot(form, "session-after-symmetric-paste");
        Click(form, "wUnlinkToolButton");
        SelectRows(form, {}, pasted);
        Click(form, "wLinkToolButton");
        undone = Child<QPushButton>(form, "wUndoButton")->toolTip().toStdString();
        Click(form, "wUndoButton");
        AutoGroup(form, true);
        EXPECT_EQ(Child<QPushButton>(form, "wUndoButton")->toolTip(), "Undo Unlink groups") << "an abort records nothing";
        AutoGroup(form, false, "session-progress");
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
    ASSERT_EQ(gui.LaminateSaves().size(), 1u);

    script.Activate();
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
    ASSERT_EQ(script.LaminateSaves().size(), 1u) << script.Transcript().back();

    const LamHost::LaminateSave &byHand = gui.LaminateSaves()[0];
    const LamHost::LaminateSave &byScript = script.LaminateSaves()[0];
    EXPECT_EQ(byHand.saveMode, lamSaveCreate);
    EXPECT_EQ(byHand.plyCount, 5);
    EXPECT_EQ(byHand.plies, byScript.plies);
    EXPECT_EQ(byHand.damping, 0.25);
    EXPECT_EQ(byHand.referenceTemperature, 35.0);
    EXPECT_EQ(byHand.saveMode, byScript.saveMode);
    EXPECT_EQ(byHand.hostOption, byScript.hostOption);
    EXPECT_EQ(byHand.bondingStress, byScript.bondingStress);
    EXPECT_EQ(byHand.tsaiWuType, byScript.tsaiWuType);
    EXPECT_EQ(byHand.damping, byScript.damping);
    EXPECT_EQ(byHand.referenceTemperature, byScript.referenceTemperature);
    EXPECT_EQ(byHand.referencePlane, byScript.referencePlane);
    EXPECT_EQ(byHand.failureTheory, byScript.failureTheory);
    EXPECT_EQ(byHand.nonStructuralMass, byScript.nonStructuralMass);
    EXPECT_EQ(byHand.tsaiWuCoefficient, byScript.tsaiWuCoefficient);
}

} // namespace
