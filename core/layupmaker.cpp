#include "core/layupmaker.h"

#include "core/blockindex.h"
#include "core/layup.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/toplevelgroups.h"
#include "util/trace.h"
#include "util/tolerance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

namespace {

constexpr double kAbsoluteAngleTolerance = 1e-8;

// Orders by material, colour, then thickness where thicknesses differ at the
// tolerance: negative, zero (alike so far) or positive.
int CompareBeforeAngle(const PlySimple &a, const PlySimple &b)
{
    if (a.Material() != b.Material())
        return a.Material() < b.Material() ? -1 : 1;
    if (a.Color() != b.Color())
        return a.Color() < b.Color() ? -1 : 1;
    if (ValuesDiffer(a.Thickness(), b.Thickness(), kPlyTolerance))
        return a.Thickness() < b.Thickness() ? -1 : 1;
    return 0;
}

// Material, colour, then thickness and angle where they differ at the tolerance.
struct PlyOrder
{
    bool operator()(const PlySimple &a, const PlySimple &b) const
    {
        if (const int order = CompareBeforeAngle(a, b))
            return order < 0;
        if (ValuesDiffer(a.Angle(), b.Angle(), kPlyTolerance))
            return a.Angle() < b.Angle();
        return false;
    }
};

// The same, with the absolute angle as the last key.
struct PlyOrderWithoutSign
{
    bool operator()(const PlySimple &a, const PlySimple &b) const
    {
        if (const int order = CompareBeforeAngle(a, b))
            return order < 0;
        const double x = std::fabs(double(a.Angle()));
        const double y = std::fabs(double(b.Angle()));
        if (ValuesDiffer(x, y, kAbsoluteAngleTolerance))
            return x < y;
        return false;
    }
};

bool AllPliesDiffer(const std::vector<PlySimple> &plies)
{
    const std::set<PlySimple, PlyOrder> distinct(plies.begin(), plies.end());
    const std::set<PlySimple, PlyOrderWithoutSign> distinctWithoutSign(plies.begin(), plies.end());
    return distinct.size() == plies.size() && distinctWithoutSign.size() == plies.size();
}

int LinkTypeOf(const LayupMaker::Run &run)
{
    if (!run.mirrored)
        return LinkRepeat;
    return run.antisymmetric ? LinkAntisymmetry : LinkSymmetry;
}

// The input plies as a group, numbered from 1.
PlyGroup FlatGroup(const std::vector<PlySimple> &plies)
{
    PlyGroup flat(0);
    flat.GetLayup().AddRange(plies.begin(), plies.end());
    flat.Renumber(1);
    return flat;
}

void DumpLayup(std::ostream &out, const Layup &layup, int depth)
{
    const std::string indent(2 * depth, ' ');
    out << indent << "Layup with " << layup.Size() << " entries:\n";
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        const PlyBase &item = **it;
        if (const auto *ply = dynamic_cast<const PlySimple *>(&item)) {
            out << indent << "PlySimple: " << ply->Id() << " " << ply->Angle() << " " << ply->Material() << " "
                << ply->Color() << " " << ply->Thickness() << "\n";
        } else if (const auto *group = dynamic_cast<const PlyGroup *>(&item)) {
            out << indent << "PlyGroup: " << group->Id() << " " << group->Name() << "\n";
            DumpLayup(out, group->ExpandedCopy().GetLayup(), depth + 1);
            out << indent << "(back in parent)\n";
        } else if (const auto *link = dynamic_cast<const PlyGroupLink *>(&item)) {
            const char *type = link->LinkType() == LinkRepeat     ? "; Normal"
                               : link->LinkType() == LinkSymmetry ? "; Symmetric"
                                                                  : "; Antisymmetric";
            out << indent << "PlyLink: " << link->Id() << " " << link->Name() << "; parent group is "
                << link->TargetGroupId() << type << "; count=" << link->CountPlies() << "\n";
        } else {
            out << indent << "UNKNOWN PLY SUBCLASS\n";
        }
    }
}

} // namespace

struct LayupMaker::State
{
    std::vector<PlySimple> plies;
    std::vector<int> usage;
    std::vector<Run> runs;
    int n = 0;
    int maxLen = 0;
    int len = 0;
    int pos = 0;
    bool inProgress = false;
    bool done = false;
    PlyGroup result{0};
    std::unique_ptr<BlockIndex> index; // made when the search starts
};

LayupMaker::LayupMaker() : state_(new State) {}

LayupMaker::~LayupMaker()
{
    delete state_;
}

LayupMaker *LayupMaker::CondenseSetup(const std::vector<PlySimple> &plies)
{
    auto *maker = new LayupMaker;
    State &s = *maker->state_;
    s.plies = plies;
    s.n = static_cast<int>(plies.size());
    TraceLine([&] { return "LayupMaker::CondenseSetup begin with " + std::to_string(s.n) + " plies.\n"; });
    if (s.n == 0) {
        TraceLine("LayupMaker::CondenseSetup: the input list of plies is empty!");
        s.done = true;
        return maker;
    }
    if (AllPliesDiffer(s.plies)) {
        TraceLine("LayupMaker::Condense: all plies are different.\n");
        s.result = FlatGroup(s.plies);
        s.done = true;
        return maker;
    }
    s.usage.assign(s.n, 0);
    s.maxLen = s.n / 2;
    s.len = s.maxLen;
    s.pos = 0;
    s.inProgress = false;
    return maker;
}

bool LayupMaker::Step(float *progress)
{
    State &s = *state_;
    if (s.done) {
        if (progress)
            *progress = 1.0f;
        return true;
    }
    if (!s.inProgress) {
        if (s.len <= 1) {
            CondenseFinish();
            if (progress)
                *progress = 1.0f;
            return true;
        }
        s.pos = 0;
        s.inProgress = true;
    }
    Condense();
    if (progress) {
        const double w = s.maxLen - 1 > 0 ? 1.0 / (s.maxLen - 1) : 1.0;
        *progress = static_cast<float>(s.pos * w / (s.n - 2 * s.len + 1) + (s.maxLen - s.len) * w);
    }
    return false;
}

PlyGroup &LayupMaker::GetResult()
{
    return state_->result;
}

const std::vector<LayupMaker::Run> &LayupMaker::Runs() const
{
    return state_->runs;
}

void LayupMaker::Condense()
{
    State &s = *state_;
    const int lastFirst = s.n - 2 * s.len;
    if (s.pos > lastFirst) {
        s.inProgress = false;
        --s.len;
        s.pos = 0;
        return;
    }
    if (!s.index)
        s.index = std::make_unique<BlockIndex>(s.plies);
    if (s.index->Length() != s.len)
        s.index->BeginLength(s.len, s.usage);
    s.index->ScanFirstBlock(s.pos, s.runs, s.usage);
    if (++s.pos > lastFirst) {
        s.inProgress = false;
        --s.len;
        s.pos = 0;
    }
}

// The runs' blocks never overlap, except that runs found from one first block
// share it, so every block is a run of simple plies of the flat list and the tree
// is built in one pass. It is the tree that GroupPlies gives run by run, from the
// last run found to the first, without walking the layup once per run.
void LayupMaker::CondenseFinish()
{
    State &s = *state_;
    s.done = true;
    std::vector<PlySimple> numbered = s.plies;
    for (int i = 0; i < s.n; ++i)
        numbered[i].SetId(i + 1);

    std::vector<int> groupAt(s.n, 0);  // group id over the first block starting here
    std::vector<int> linkAt(s.n, -1); // run whose later block starts here
    int nextId = 1;
    for (int k = static_cast<int>(s.runs.size()) - 1; k >= 0; --k) {
        Run &run = s.runs[k];
        int &group = groupAt[run.firstStart];
        if (group == 0) {
            group = nextId++;
            TraceLine([&] {
                return "GroupPlies: group " + std::to_string(group) + " created with " + std::to_string(run.length)
                    + " members.\n";
            });
        } else {
            TraceLine([&] { return "GroupPlies: reusing group " + std::to_string(group) + "\n"; });
        }
        run.parentGroupId = group;
        run.linkGroupId = nextId++;
        linkAt[run.secondStart] = k;
        TraceLine([&] { return "GroupPlies: group " + std::to_string(run.linkGroupId) + " created as link to "
            + std::to_string(group) + "\n"; });
    }

    PlyGroup work(0);
    Layup &layup = work.GetLayup();
    std::vector<int> lengthAt(s.n, 0);
    for (const Run &run : s.runs)
        lengthAt[run.firstStart] = run.length;
    for (int i = 0; i < s.n;) {
        if (groupAt[i] != 0) {
            auto *group = new PlyGroup(groupAt[i]);
            for (int j = i; j < i + lengthAt[i]; ++j)
                group->GetLayup().Add(new PlySimple(numbered[j]));
            layup.Add(group);
            i += lengthAt[i];
        } else if (linkAt[i] >= 0) {
            const Run &run = s.runs[linkAt[i]];
            layup.Add(new PlyGroupLink(run.linkGroupId, run.parentGroupId, LinkTypeOf(run), i + 1));
            i += run.length;
        } else {
            layup.Add(new PlySimple(numbered[i]));
            ++i;
        }
    }
    work.SetRoot(&work);

    // The tree is checked with the search's own comparison: names are not part of it.
    std::vector<PlySimple> expanded;
    work.CollectPlies(expanded);
    bool same = expanded.size() == s.plies.size();
    for (size_t i = 0; same && i < expanded.size(); ++i)
        same = PliesMatch(s.plies[i], expanded[i]);
    if (same) {
        TraceLine("The grouped layup expands the same, AutoGroup success.\n");
        s.result.GetLayup().Swap(layup);
    } else {
        TraceLine("The grouped layup differs, AutoGroup error!");
        s.result = FlatGroup(s.plies);
    }
    s.result.SetRoot(&s.result);
    TraceLine([&] { return "LayupMaker::CondenseFinish end with " + std::to_string(s.runs.size()) + " groups."; });
}

bool LayupMaker::GroupPlies(PlyGroup &work, bool link, Run &run, std::string &error)
{
    int start = (link ? run.secondStart : run.firstStart) + 1;
    const int count = run.length;
    const int id = link ? run.linkGroupId : run.parentGroupId;
    const int end = start + count;
    std::ostringstream trace;
    trace << "\nGroupPlies-" << (link ? "link" : "parent") << ", startPly=" << start << " and numPlies=" << count
          << "\n";
    auto fail = [&](const char *text) {
        error = text;
        TraceLine([&] { return trace.str(); });
        return false;
    };

    if (start < 1 || count < 2) {
        trace << "start ply = " << start << "\n";
        return fail("Invalid grouping request.");
    }
    const int available = work.CountPlies();
    if (start + count - 1 > available) {
        trace << "from " << start << " to " << (start + count - 1) << ", layup has " << available << " plies.\n";
        return fail("Grouping more plies than exist in layup.");
    }

    Layup &layup = work.GetLayup();
    int firstMember = -1;
    int memberCount = 0;
    int memberPlies = 0;
    int cursor = 1;
    for (int i = 0; i < layup.Size() && start < end; ++i) {
        const PlyBase &item = *layup[i];
        const int c = item.CountPlies();
        trace << "candidate=" << start << ", nextId=" << cursor << ", count=" << c << "\n";
        if (cursor == start) {
            if (c == 1) {
                trace << "SimplePly " << item.Id() << " is member.\n";
            } else {
                trace << "Group " << item.Id() << " is completely in...\n";
                if (cursor + c > end)
                    return fail("Error creating group: partial subgroup inclusion.");
                trace << "Group " << item.Id() << " is member, left=" << (cursor + c) << " & right=" << end << ".\n";
            }
            start += c;
            if (firstMember < 0)
                firstMember = i;
            ++memberCount;
            memberPlies += c;
        } else if (cursor < start && start < cursor + c) {
            trace << "Group " << item.Id() << " is has subgroup...\n";
            return fail("Cannot group part of a child group.");
        }
        cursor += c;
    }
    if (memberPlies != count) {
        trace << "GroupPlies: Found " << memberPlies << " member plies, asking for " << count << "!\n";
        return fail("Error creating group: not all plies found.");
    }

    if (!link && memberCount == 1 && layup[firstMember]->CountPlies() > 1) {
        run.parentGroupId = layup[firstMember]->Id();
        trace << "GroupPlies: reusing group " << run.parentGroupId << "\n";
        TraceLine([&] { return trace.str(); });
        return true;
    }

    PlyGroupBase *made = nullptr;
    if (!link) {
        auto *group = new PlyGroup(id);
        for (int i = firstMember; i < firstMember + memberCount; ++i)
            group->GetLayup().Add(layup[i]->Clone());
        trace << "GroupPlies: group " << id << " created with " << memberCount << " members.\n";
        made = group;
    } else {
        PlyGroup members(0);
        for (int i = firstMember; i < firstMember + memberCount; ++i)
            members.GetLayup().Add(layup[i]->Clone());
        members.SetRoot(&work);
        trace << "GroupPlies: group " << id << " created as link to " << run.parentGroupId << "\n"
              << "The members are ";
        Dump(trace, members);
        made = new PlyGroupLink(id, run.parentGroupId, LinkTypeOf(run), layup[firstMember]->Id());
    }

    // The members are erased where they stand: searching for an equal item could
    // take an earlier twin of a member and shuffle the stack.
    Layup rebuilt;
    for (int i = 0; i < layup.Size(); ++i) {
        if (i == firstMember)
            rebuilt.Add(made);
        if (i >= firstMember && i < firstMember + memberCount) {
            const PlyBase &member = *layup[i];
            trace << "Erasing " << member.Id() << "-" << member.Name() << " for member " << member.Id() << "-"
                  << member.Name() << "\n";
            continue;
        }
        rebuilt.Add(layup[i]);
    }
    layup.Swap(rebuilt);
    // Links may still point at the items just replaced.
    work.SetRoot(&work);
    TraceLine([&] { return trace.str(); });
    return true;
}

PlyMatch LayupMaker::MatchPlies(std::span<const PlySimple> a, std::span<const PlySimple> b)
{
    if (a.size() != b.size())
        return PlyMatchNone;
    const size_t m = a.size();
    auto all = [m](auto &&holds) {
        for (size_t i = 0; i < m; ++i) {
            if (!holds(i))
                return false;
        }
        return true;
    };
    if (all([&](size_t i) { return PliesMatch(a[i], b[m - 1 - i]); }))
        return PlyMatchReversed;
    if (all([&](size_t i) { return PliesMatch(a[i], b[i]); }))
        return PlyMatchEqual;
    if (all([&](size_t i) { return PliesAntiMatch(a[i], b[m - 1 - i]); }))
        return PlyMatchAntisymmetric;
    return PlyMatchNone;
}

void LayupMaker::RemoveGroupAndLinks(PlyGroup &root, int groupId)
{
    RemoveGroupsAndLinks(root, {groupId});
}

void LayupMaker::RemoveGroupsAndLinks(PlyGroup &root, const std::vector<int> &groupIds)
{
    // Mark, then sweep once: erasing item by item would take time in the square
    // of the top level when a large selection goes.
    Layup &layup = root.GetLayup();
    TopLevelGroups groups(layup);
    for (const int id : groupIds)
        groups.Mark(id);
    Layup kept;
    kept.SetStacking(layup.Stacking());
    int index = 0;
    for (auto it = layup.Begin(); it != layup.End(); ++it, ++index) {
        if (!groups.Marked(index))
            kept.Add(*it);
    }
    layup.Swap(kept);
    // Links below the top level may still hold the removed items.
    root.ResetLinks();
}

std::ostream &LayupMaker::Dump(std::ostream &out, const PlyGroup &group)
{
    DumpLayup(out, group.GetLayup(), 0);
    return out;
}

void LayupMaker::FindStackingRule(Layup &layup)
{
    TraceLine("begin LayupMaker::FindStackingRule");
    if (layup.Size() < 2)
        return;
    std::vector<PlySimple> plies;
    plies.reserve(static_cast<size_t>(layup.Size()));
    PlyGroup(0, layup).CollectPlies(plies);
    const int n = static_cast<int>(plies.size());
    const bool odd = n % 2 != 0;
    const int half = n / 2;
    const int secondStart = odd ? half + 1 : half;
    // Views, not copies: a host's laminate can hold 100,000 plies.
    const std::span<const PlySimple> first(plies.data(), static_cast<size_t>(half));
    const std::span<const PlySimple> second(plies.data() + secondStart, static_cast<size_t>(n - secondStart));
    char sizes[80];
    std::snprintf(sizes, sizeof sizes, "pc1 has %d plies, pc2 has %d\n", half, n - secondStart);
    TraceLine(sizes);

    int stacking = StackingSimple;
    switch (MatchPlies(first, second)) {
    case PlyMatchReversed:
        TraceLine("LayupMaker::FindStackingRule: sym");
        stacking = odd ? StackingSymmetricWithCore : StackingFullSymmetric;
        break;
    case PlyMatchEqual:
        TraceLine("LayupMaker::FindStackingRule: repeat");
        stacking = odd ? StackingRepeatWithCore : StackingFullRepeat;
        break;
    default:
        TraceLine("LayupMaker::FindStackingRule: bad match");
        return;
    }
    Layup rewritten;
    const int kept = odd ? half + 1 : half;
    if (layup.PliesOnly()) {
        // The plies themselves, shared: a flat layup's plies are what was collected.
        for (int i = 0; i < kept; ++i)
            rewritten.Add(layup[i]);
    } else {
        rewritten.AddRange(plies.begin(), plies.begin() + kept);
    }
    rewritten.SetStacking(stacking);
    layup = std::move(rewritten);
    TraceLine("end LayupMaker::FindStackingRule");
}
