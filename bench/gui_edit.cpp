// One edit in the layup dialog as a user makes it, offscreen: a ply selected
// in the tree, a colour chosen from the right-click menu, the edit recorded
// and both views rebuilt.

#include "bench/layupdialogbench.h"
#include "gui/forms/layupform.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QMenu>
#include <QTreeWidget>

namespace {

QMenu *Submenu(QMenu *menu, const QString &title)
{
    for (QAction *action : menu->actions())
        if (action->menu() && action->text() == title)
            return action->menu();
    return nullptr;
}

// shown: the dialog is on screen and the deferred layout and painting run too.
void BM_EditColour(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    const bool shown = state.range(1) != 0;
    benchlayup::Request request(n);
    LayupForm form(nullptr, &request.context, false);
    form.Refresh(true, true);
    if (shown) {
        form.show();
        QCoreApplication::processEvents();
    }
    auto *tree = form.findChild<QTreeWidget *>("wLamTreeList");
    int edits = 0;
    for (auto _ : state) {
        // The bottom row is a plain ply.
        tree->topLevelItem(tree->topLevelItemCount() - 1)->setSelected(true);
        QMenu *colours = Submenu(form.RightClickMenu(), "Color");
        if (!colours) {
            state.SkipWithError("no colour menu for one ply");
            break;
        }
        colours->actions().value(1 + edits++ % 2)->trigger();
        if (shown)
            QCoreApplication::processEvents();
    }
    state.SetLabel(shown ? "shown" : "hidden");
}

BENCHMARK(BM_EditColour)
    ->ArgsProduct({{200, 1000, 3200}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return benchlayup::Main(argc, argv); }
