#pragma once

// The grouping search written plainly, step for step, without any index: the
// reference that LayupMaker's fast search is checked against (tests) and timed
// against (bench). It reads every usage entry and compares ply by ply at every
// pair of positions, and builds its tree with LayupMaker::GroupPlies run by run.

#include "core/layupmaker.h"
#include "core/plygroup.h"
#include "core/plysimple.h"
#include "util/tolerance.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

class PlainSearch
{
public:
    using Run = LayupMaker::Run;

    static bool Match(const PlySimple &a, const PlySimple &b)
    {
        return a.Material() == b.Material() && a.Color() == b.Color()
               && !ValuesDiffer(a.Thickness(), b.Thickness(), 1e-6f) && !ValuesDiffer(a.Angle(), b.Angle(), 1e-6f);
    }
    static bool AntiMatch(const PlySimple &a, const PlySimple &b)
    {
        return a.Material() == b.Material() && a.Color() == b.Color()
               && !ValuesDiffer(a.Thickness(), b.Thickness(), 1e-6f)
               && !ValuesDiffer(a.Angle(), -b.Angle(), 1e-6f);
    }

    explicit PlainSearch(const std::vector<PlySimple> &plies) : plies_(plies), n_(static_cast<int>(plies.size()))
    {
        if (n_ == 0) {
            done_ = true;
            return;
        }
        if (AllDifferent()) {
            result_ = Flat();
            done_ = true;
            return;
        }
        usage_.assign(n_, 0);
        maxLen_ = n_ / 2;
        len_ = maxLen_;
    }

    bool Step(float *progress)
    {
        if (done_) {
            *progress = 1.0f;
            return true;
        }
        if (!inProgress_) {
            if (len_ <= 1) {
                Finish();
                *progress = 1.0f;
                return true;
            }
            pos_ = 0;
            inProgress_ = true;
        }
        Condense();
        const double w = maxLen_ - 1 > 0 ? 1.0 / (maxLen_ - 1) : 1.0;
        *progress = static_cast<float>(pos_ * w / (n_ - 2 * len_ + 1) + (maxLen_ - len_) * w);
        return false;
    }

    const std::vector<Run> &Runs() const { return runs_; }
    PlyGroup &Result() { return result_; }

private:
    struct Order
    {
        bool withoutSign;
        bool operator()(const PlySimple &a, const PlySimple &b) const
        {
            if (a.Material() != b.Material())
                return a.Material() < b.Material();
            if (a.Color() != b.Color())
                return a.Color() < b.Color();
            if (ValuesDiffer(a.Thickness(), b.Thickness(), 1e-6f))
                return a.Thickness() < b.Thickness();
            if (withoutSign) {
                const double x = std::fabs(double(a.Angle())), y = std::fabs(double(b.Angle()));
                return ValuesDiffer(x, y, 1e-8) && x < y;
            }
            return ValuesDiffer(a.Angle(), b.Angle(), 1e-6f) && a.Angle() < b.Angle();
        }
    };

    bool AllDifferent() const
    {
        const std::set<PlySimple, Order> signed_(plies_.begin(), plies_.end(), Order{false});
        const std::set<PlySimple, Order> unsigned_(plies_.begin(), plies_.end(), Order{true});
        return int(signed_.size()) == n_ && int(unsigned_.size()) == n_;
    }

    bool Free(int from, int length) const
    {
        for (int i = from; i < from + length; ++i) {
            if (usage_[i] != 0)
                return false;
        }
        return true;
    }

    void Condense()
    {
        const int p = pos_, L = len_;
        if (p > n_ - 2 * L) {
            inProgress_ = false;
            --len_;
            pos_ = 0;
            return;
        }
        if (Free(p, L)) {
            for (int s = p + L; s <= n_ - L; ++s) {
                if (!Free(s, L))
                    continue;
                bool repeat = true, mirror = true, anti = true;
                for (int i = 0; i < L && repeat; ++i)
                    repeat = Match(plies_[p + i], plies_[s + i]);
                for (int i = 0; i < L && !repeat && mirror; ++i)
                    mirror = Match(plies_[p + i], plies_[s + L - 1 - i]);
                for (int i = 0; i < L && !repeat && !mirror && anti; ++i)
                    anti = AntiMatch(plies_[p + i], plies_[s + L - 1 - i]);
                if (!repeat && !mirror && !anti)
                    continue;
                runs_.push_back(Run{L, p, s, 0, 0, !repeat, !repeat && !mirror});
                const int k = static_cast<int>(runs_.size());
                for (int i = 0; i < L; ++i) {
                    usage_[p + i] = k;
                    usage_[s + i] = -k;
                }
            }
        }
        if (++pos_ > n_ - 2 * L) {
            inProgress_ = false;
            --len_;
            pos_ = 0;
        }
    }

    PlyGroup Flat() const
    {
        PlyGroup flat(0);
        flat.GetLayup().AddRange(plies_.begin(), plies_.end());
        flat.Renumber(1);
        return flat;
    }

    void Finish()
    {
        done_ = true;
        PlyGroup flat = Flat();
        PlyGroup work = flat;
        int nextId = 1;
        for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
            std::string error;
            run->parentGroupId = nextId;
            if (!LayupMaker::GroupPlies(work, false, *run, error))
                continue;
            if (run->parentGroupId == nextId)
                ++nextId;
            run->linkGroupId = nextId;
            if (LayupMaker::GroupPlies(work, true, *run, error)) {
                work.SetRoot(&work);
                ++nextId;
            }
        }
        std::vector<PlySimple> before, after;
        flat.CollectPlies(before);
        work.CollectPlies(after);
        bool same = before.size() == after.size();
        for (size_t i = 0; same && i < before.size(); ++i)
            same = Match(before[i], after[i]);
        result_ = same ? work : flat;
    }

    std::vector<PlySimple> plies_;
    int n_;
    std::vector<int> usage_;
    std::vector<Run> runs_;
    int maxLen_ = 0, len_ = 0, pos_ = 0;
    bool inProgress_ = false, done_ = false;
    PlyGroup result_{0};
};
