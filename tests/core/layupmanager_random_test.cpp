// Random sequences of every layup edit keep the layup sound.

#include "core/layupmanager.h"

#include "core/commandrecorder.h"
#include "core/laminate.h"
#include "core/layupbuilder.h"
#include "core/layupclipboard.h"
#include "core/randomedits.h"
#include "util/tolerance.h"

#include <gtest/gtest.h>

#include <set>

using namespace layuptest;

namespace {

const char *const kKindNames[] = {"add", "modify", "delete", "cut", "copy", "paste", "group", "ungroup", "link", "unlink"};

PlyGroup Start()
{
    return Root({Ply(1, 0.25f, 0.0f), Group(5, {Ply(2, 0.5f, 45.0f), Ply(3, 0.25f, -45.0f)}), Ply(2, 0.5f, 90.0f),
                 Link(6, 5, LinkSymmetry), Group(7, {Ply(3, 0.25f, 45.0f), Ply(2, 0.5f, -45.0f)}), Ply(1)});
}

bool SameValues(const PlySimple &a, const PlySimple &b)
{
    return a.Material() == b.Material() && a.Color() == b.Color() && !ValuesDiffer(a.Thickness(), b.Thickness(), 1e-6f)
        && !ValuesDiffer(a.Angle(), b.Angle(), 1e-6f);
}

bool SameStack(const PlyGroup &a, const PlyGroup &b)
{
    std::vector<PlySimple> first;
    std::vector<PlySimple> second;
    a.CollectPliesExpanded(first);
    b.CollectPliesExpanded(second);
    if (first.size() != second.size())
        return false;
    for (size_t i = 0; i < first.size(); ++i) {
        if (!SameValues(first[i], second[i]))
            return false;
    }
    return true;
}

// Numbers 1..N in stack order, flat top level with unique ids, links that
// resolve unless their target is a group that a cut emptied, and counts that
// agree with the plies collected.
void ExpectSound(const PlyGroup &root, const std::set<int> &emptied)
{
    const std::vector<PlySimple> plies = Plies(root);
    for (size_t i = 0; i < plies.size(); ++i)
        ASSERT_EQ(plies[i].Id(), static_cast<int>(i) + 1);
    EXPECT_EQ(root.CountPlies(), static_cast<int>(plies.size()));
    std::vector<PlySimple> full;
    root.CollectPliesExpanded(full);
    EXPECT_EQ(root.CountPliesExpanded(), static_cast<int>(full.size()));
    std::set<int> ids;
    const Layup &layup = root.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const PlyBase &item = **it;
        EXPECT_EQ(item.CountPlies(), static_cast<int>(Plies(item).size()));
        if (dynamic_cast<const PlySimple *>(&item))
            continue;
        EXPECT_TRUE(ids.insert(item.Id()).second) << "group id " << item.Id() << " twice";
        EXPECT_GT(item.Id(), 0);
        if (const auto *link = dynamic_cast<const PlyGroupLink *>(&item)) {
            EXPECT_TRUE(link->Target() || emptied.count(link->TargetGroupId()))
                << "link " << link->Id() << " to " << link->TargetGroupId();
            continue;
        }
        const Layup &inner = dynamic_cast<const PlyGroup &>(item).GetLayup();
        for (auto child = inner.ConstBegin(); child != inner.ConstEnd(); ++child)
            EXPECT_TRUE(dynamic_cast<const PlySimple *>(child->Get())) << "group " << item.Id() << " nested";
    }
}

// The plies that a selection's numbers name, in stack order, each once.
std::vector<PlySimple> Named(const PlyGroup &root, const std::vector<int> &numbers)
{
    const std::vector<PlySimple> plies = Plies(root);
    std::set<int> unique(numbers.begin(), numbers.end());
    std::vector<PlySimple> named;
    for (const int number : unique) {
        if (number >= 1 && number <= static_cast<int>(plies.size()))
            named.push_back(plies[number - 1]);
    }
    return named;
}

// The groups of a cut's layup that are gone though it did not select them.
void NoteEmptied(const PlyGroup &before, const PlyGroup &after, const Selection &selection, std::set<int> &emptied)
{
    const Layup &layup = before.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const auto *group = dynamic_cast<const PlyGroup *>(it->Get());
        if (group && !selection.ContainsGroup(group->Id()) && !after.FindGroup(group->Id()))
            emptied.insert(group->Id());
    }
}

TEST(LayupManagerRandom, EveryEditKeepsTheLayupSound)
{
    int done[10] = {};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(std::string("seed ").append(std::to_string(seed)));
        RandomEdits edits(seed);
        Laminate laminate;
        laminate.SetLayup(Start());
        CommandRecorder recorder;
        LayupManager manager(nullptr, &laminate, &recorder);
        std::set<int> emptied;
        for (int step = 0; step < 80; ++step) {
            const Laminate before = laminate;
            const LayupClipboard clipboard = manager.GetClipboard();
            const int recorded = recorder.Count();
            const RandomEdit edit = edits.Run(manager, laminate.RootGroup());
            SCOPED_TRACE(std::string("step ").append(std::to_string(step)).append(" ").append(kKindNames[edit.kind])
                         .append("\nbefore: ").append(Describe(before.RootGroup().GetLayup()))
                         .append("\nafter:  ").append(Describe(laminate.RootGroup().GetLayup())));
            if (!edit.done) {
                EXPECT_NE(manager.GetErrorMessage(), "");
                EXPECT_TRUE(laminate.IsEqual(before));
                EXPECT_EQ(recorder.Count(), recorded);
                EXPECT_TRUE(manager.GetClipboard().items == clipboard.items);
                EXPECT_EQ(manager.GetClipboard().filled, clipboard.filled);
                continue;
            }
            ++done[edit.kind];
            EXPECT_LE(recorder.Count(), recorded + 1);
            if (edit.kind == EditGroup || edit.kind == EditLink || edit.kind == EditUnlink) {
                EXPECT_TRUE(SameStack(laminate.RootGroup(), before.RootGroup()));
            }
            if (edit.kind == EditDelete || edit.kind == EditCut)
                NoteEmptied(before.RootGroup(), laminate.RootGroup(), edit.selection, emptied);
            if (edit.kind == EditPaste && clipboard.items.Size() == 0) {
                EXPECT_EQ(recorder.Count(), recorded);
                EXPECT_EQ(edit.after.plies, edit.selection.plies);
            } else if (edit.kind == EditPaste) {
                // The same plies, under their new numbers.
                const std::vector<PlySimple> was = Named(before.RootGroup(), edit.selection.plies);
                const std::vector<PlySimple> is = Named(laminate.RootGroup(), edit.after.plies);
                ASSERT_EQ(is.size(), was.size());
                for (size_t i = 0; i < is.size(); ++i)
                    EXPECT_TRUE(SameValues(is[i], was[i]));
                std::vector<int> groups;
                for (const int id : edit.selection.Groups()) {
                    if (before.RootGroup().FindGroup(id))
                        groups.push_back(id);
                }
                EXPECT_EQ(edit.after.Groups(), groups);
            }
            ASSERT_NO_FATAL_FAILURE(ExpectSound(laminate.RootGroup(), emptied));
        }
    }
    // Every kind of edit got through now and then.
    for (int kind = EditAdd; kind <= EditUnlink; ++kind)
        EXPECT_GT(done[kind], 10) << kKindNames[kind];
}

} // namespace
