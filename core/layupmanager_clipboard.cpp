// Delete, cut, copy and paste.

#include "core/layupmanager.h"

#include "core/editcommands.h"
#include "core/laminate.h"
#include "core/layupmaker.h"
#include "core/layupmanager_p.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"
#include "core/plytag.h"
#include "core/selection.h"
#include "util/trace.h"

#include <algorithm>

namespace {

std::vector<int> Sorted(std::vector<int> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

bool Contains(const std::vector<int> &sorted, int value)
{
    return std::binary_search(sorted.begin(), sorted.end(), value);
}

// The selected ply numbers, each to be taken as many times as it was
// selected. Taking counts down instead of erasing from a sorted list, so that
// a large selection goes in time linear in the layup (times a search).
class PlyMarks
{
public:
    explicit PlyMarks(std::vector<int> numbers)
    {
        std::sort(numbers.begin(), numbers.end());
        for (const int number : numbers) {
            if (numbers_.empty() || numbers_.back() != number) {
                numbers_.push_back(number);
                left_.push_back(0);
            }
            ++left_.back();
        }
    }

    // False when number is not selected or was taken as often as selected.
    bool Take(int number)
    {
        const auto found = std::lower_bound(numbers_.begin(), numbers_.end(), number);
        if (found == numbers_.end() || *found != number)
            return false;
        int &left = left_[static_cast<size_t>(found - numbers_.begin())];
        if (left == 0)
            return false;
        --left;
        return true;
    }

private:
    std::vector<int> numbers_; // the distinct numbers, ascending
    std::vector<int> left_;    // how many times each may still be taken
};

// Moves group's selected plies to taken (shared; dropped when taken is null)
// and keeps the others in place; true when it moved any.
bool CutPlies(PlyGroup &group, PlyMarks &plies, Layup *taken)
{
    Layup kept;
    kept.SetStacking(group.GetLayup().Stacking());
    bool any = false;
    for (auto it = group.GetLayup().Begin(); it != group.GetLayup().End(); ++it) {
        if ((*it)->IsPly() && plies.Take((*it)->Id())) {
            if (taken)
                taken->Add(*it);
            any = true;
        } else {
            kept.Add(*it);
        }
    }
    if (any)
        group.GetLayup().Swap(kept);
    return any;
}

// Appends to out copies of the selected plies that group shows, in stack
// order, looking into its groups that are not selected and into the expansions
// of its links.
void CopyPlies(const PlyGroup &group, PlyMarks &plies, const std::vector<int> &groups, Layup &out)
{
    const Layup &layup = group.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const PlyBase &item = **it;
        if (item.IsPly()) {
            if (plies.Take(item.Id()))
                out.Add(item.Clone());
        } else if (!Contains(groups, item.Id())) {
            if (const auto *inner = dynamic_cast<const PlyGroup *>(&item))
                CopyPlies(*inner, plies, groups, out);
            else
                CopyPlies(dynamic_cast<const PlyGroupBase &>(item).ExpandedCopy(), plies, groups, out);
        }
    }
}

} // namespace

bool LayupManager::Impl::CutSelection(const Selection &selection, Layup *taken)
{
    error.clear();
    PlyMarks plies(selection.plies);
    const std::vector<int> groups = Sorted(selection.Groups());
    PlyGroup work = laminate->RootGroup();
    PlyGroup root(0);
    root.GetLayup().SetStacking(work.GetLayup().Stacking());
    std::vector<int> removed;

    for (auto it = work.GetLayup().Begin(); it != work.GetLayup().End(); ++it) {
        PlyBase &item = **it;
        if (item.IsPly()) {
            if (plies.Take(item.Id())) {
                if (taken)
                    taken->Add(*it);
                continue;
            }
        } else if (Contains(groups, item.Id())) {
            // A clone: a link taken as it is would still point into work.
            if (taken)
                taken->Add(item.Clone());
            removed.push_back(item.Id());
            continue;
        } else if (auto *group = dynamic_cast<PlyGroup *>(&item)) {
            // Links to a group emptied here stay: they stand for nothing now.
            if (CutPlies(*group, plies, taken) && group->CountPlies() == 0)
                continue;
        }
        root.GetLayup().Add(*it);
    }
    if (!removed.empty())
        LayupMaker::RemoveGroupsAndLinks(root, removed);
    laminate->SetLayup(std::move(root));
    return true;
}

bool LayupManager::Delete(const Selection &selection)
{
    // Nothing taken: the clipboard stays as it was.
    const bool done = impl_->CutSelection(selection, nullptr);
    if (done)
        impl_->Record(std::make_unique<DeleteCommand>(selection));
    return done;
}

bool LayupManager::Cut(const Selection &selection)
{
    impl_->clipboard.Clear();
    const bool done = impl_->CutSelection(selection, &impl_->clipboard.items);
    if (done)
        impl_->Record(std::make_unique<CutCommand>(selection));
    return done;
}

bool LayupManager::Copy(const Selection &selection)
{
    Impl &d = *impl_;
    d.error.clear();
    PlyMarks plies(selection.plies);
    const std::vector<int> groups = Sorted(selection.Groups());
    d.clipboard.Clear();
    d.clipboard.filled = true;

    // One walk in stack order, so that a paste puts the copies in the order
    // the originals have.
    const PlyGroup &root = d.laminate->RootGroup();
    const Layup &layup = root.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const PlyBase &item = **it;
        if (item.IsPly()) {
            if (plies.Take(item.Id()))
                d.clipboard.items.Add(item.Clone());
        } else if (!Contains(groups, item.Id())) {
            if (const auto *group = dynamic_cast<const PlyGroup *>(&item))
                CopyPlies(*group, plies, groups, d.clipboard.items);
            else
                CopyPlies(dynamic_cast<const PlyGroupBase &>(item).ExpandedCopy(), plies, groups, d.clipboard.items);
        } else if (const auto *link = dynamic_cast<const PlyGroupLink *>(&item)) {
            d.clipboard.items.Add(new PlyGroup(link->Id(), link->ExpandedCopy().GetLayup()));
        } else {
            d.clipboard.items.Add(item.Clone());
        }
    }
    d.Record(std::make_unique<CopyCommand>(selection));
    return true;
}

bool LayupManager::Paste(Selection &selection, bool reversed, bool negated, int count)
{
    Impl &d = *impl_;
    d.error.clear();
    if (d.clipboard.items.Size() == 0)
        return true;
    PlyGroup work = d.laminate->RootGroup();
    const PlyInserter inserter = d.ComputeInserter(work, selection.plies, selection.Groups(), d.insertBefore);
    if (!inserter.IsValid()) {
        d.error = "Invalid insertion operator";
        TraceLine([&] { return std::string("LayupManager::Paste").append(d.error); });
        return false;
    }
    TraceLine("Paste: inserter is valid");
    std::set<PlyTag> tags;
    if (!selection.IsEmpty()) {
        work.AssignSerials(1);
        tags = PlyTag::fromSelection(work, selection);
    }
    if (!d.pasteClipboard(work, inserter, reversed, negated, count))
        return false;
    Selection renamed = PlyTag::toSelection(work, tags);
    d.laminate->SetLayup(std::move(work));
    d.Record(std::make_unique<PasteCommand>(selection, d.insertBefore, reversed, negated, count));
    selection = std::move(renamed);
    return true;
}
