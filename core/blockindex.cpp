#include "core/blockindex.h"

#include "core/plysimple.h"
#include "util/tolerance.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// Neighbouring values closer than this share a class. It is looser than the match,
// so that rounding in the comparison can never put two matching values apart.
constexpr double kChainTolerance = 4.0 * kPlyTolerance;

constexpr uint64_t kModulus = (uint64_t(1) << 61) - 1;
constexpr uint64_t kBase = 0x1d3f6a2b5c7e9b1ULL % kModulus;
constexpr uint64_t kEmpty = ~uint64_t(0); // never a hash: hashes stay below kModulus

__extension__ typedef unsigned __int128 Wide;

uint64_t MulMod(uint64_t a, uint64_t b)
{
    const Wide product = Wide(a) * b;
    const uint64_t r = uint64_t(product & kModulus) + uint64_t(product >> 61);
    return r >= kModulus ? r - kModulus : r;
}

uint64_t SubMod(uint64_t a, uint64_t b)
{
    return a >= b ? a - b : a + kModulus - b;
}

// A class per value, equal for any two values that do not differ at the ply
// tolerance: sorted neighbours closer than kChainTolerance are chained. The match
// range of a value is contiguous in sorted order, so chaining neighbours is enough.
// A NaN differs from nothing, so one puts every value into the same class.
std::vector<int> ChainClasses(const std::vector<float> &values)
{
    std::vector<int> classes(values.size(), 0);
    if (std::any_of(values.begin(), values.end(), [](float v) { return std::isnan(v); }))
        return classes;
    std::vector<float> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<int> classOfSorted(sorted.size(), 0);
    for (size_t i = 1; i < sorted.size(); ++i)
        classOfSorted[i] = classOfSorted[i - 1]
                           + (ValuesDiffer(double(sorted[i - 1]), double(sorted[i]), kChainTolerance) ? 1 : 0);
    for (size_t i = 0; i < values.size(); ++i)
        classes[i] = classOfSorted[std::lower_bound(sorted.begin(), sorted.end(), values[i]) - sorted.begin()];
    return classes;
}

std::vector<uint64_t> PrefixHashes(const std::vector<int> &symbols)
{
    std::vector<uint64_t> prefix(symbols.size() + 1, 0);
    for (size_t i = 0; i < symbols.size(); ++i)
        prefix[i + 1] = (MulMod(prefix[i], kBase) + uint64_t(symbols[i]) + 1) % kModulus;
    return prefix;
}

} // namespace

bool PliesMatch(const PlySimple &a, const PlySimple &b)
{
    return a.Material() == b.Material() && a.Color() == b.Color()
           && !ValuesDiffer(a.Thickness(), b.Thickness(), kPlyTolerance)
           && !ValuesDiffer(a.Angle(), b.Angle(), kPlyTolerance);
}

bool PliesAntiMatch(const PlySimple &a, const PlySimple &b)
{
    return a.Material() == b.Material() && a.Color() == b.Color()
           && !ValuesDiffer(a.Thickness(), b.Thickness(), kPlyTolerance)
           && !ValuesDiffer(a.Angle(), -b.Angle(), kPlyTolerance);
}

BlockIndex::BlockIndex(const std::vector<PlySimple> &plies)
    : plies_(plies), n_(static_cast<int>(plies.size()))
{
    std::vector<float> thicknesses, angles;
    for (const PlySimple &ply : plies) {
        thicknesses.push_back(ply.Thickness());
        angles.push_back(ply.Angle());
    }
    for (const PlySimple &ply : plies)
        angles.push_back(-ply.Angle());
    const std::vector<int> thicknessClass = ChainClasses(thicknesses);
    const std::vector<int> angleClass = ChainClasses(angles);

    std::map<std::tuple<int, int, int, int>, int> classIds;
    auto classOf = [&](int i, int angleIndex) {
        const auto key = std::make_tuple(plies[i].Material(), plies[i].Color(), thicknessClass[i],
                                         angleClass[angleIndex]);
        return classIds.emplace(key, static_cast<int>(classIds.size())).first->second;
    };
    std::vector<int> reversedClasses(n_), reversedNegated(n_);
    std::vector<int> classes(n_);
    for (int i = 0; i < n_; ++i) {
        classes[i] = classOf(i, i);
        reversedClasses[n_ - 1 - i] = classes[i];
        reversedNegated[n_ - 1 - i] = classOf(i, n_ + i);
    }
    forward_ = PrefixHashes(classes);
    reversed_ = PrefixHashes(reversedClasses);
    negated_ = PrefixHashes(reversedNegated);
    powers_.assign(n_ + 1, 1);
    for (int k = 1; k <= n_; ++k)
        powers_[k] = MulMod(powers_[k - 1], kBase);
}

uint64_t BlockIndex::Hash(const std::vector<uint64_t> &prefix, int from) const
{
    return SubMod(prefix[from + len_], MulMod(prefix[from], lengthPower_));
}

uint64_t BlockIndex::KindHash(int kind, int s) const
{
    switch (kind) {
    case Repeat:
        return Hash(forward_, s);
    case Mirror:
        return Hash(reversed_, n_ - s - len_);
    default:
        return Hash(negated_, n_ - s - len_);
    }
}

void BlockIndex::BeginLength(int len, const std::vector<int> &usage)
{
    len_ = len;
    lengthPower_ = powers_[len];
    const int lastBlock = n_ - len;
    const int lastFirst = n_ - 2 * len;

    free_.assign(lastBlock + 1, 0);
    int taken = 0;
    for (int i = 0; i < n_; ++i) {
        taken += usage[i] != 0 ? 1 : 0;
        if (i >= len)
            taken -= usage[i - len] != 0 ? 1 : 0;
        if (i >= len - 1)
            free_[i - len + 1] = taken == 0;
    }

    // Only later blocks that some free first block could pair with are kept.
    bucketOfFirst_.assign(lastFirst + 1, -1);
    ClearTable(lastFirst + 1);
    for (int p = 0; p <= lastFirst; ++p) {
        if (free_[p])
            bucketOfFirst_[p] = Insert(ForwardHash(p));
    }
    pending_.clear();
    if (buckets_ > 0) {
        for (int s = len; s <= lastBlock; ++s) {
            if (!free_[s])
                continue;
            for (int kind = Repeat; kind <= Antisymmetric; ++kind) {
                const int bucket = Lookup(KindHash(kind, s));
                if (bucket >= 0)
                    pending_.push_back({bucket, Entry{s, kind}});
            }
        }
    }

    // Counting sort by bucket keeps each bucket in scan order: by start, then kind.
    cursor_.assign(buckets_ + 1, 0);
    for (const auto &item : pending_)
        ++cursor_[item.first + 1];
    for (int b = 0; b < buckets_; ++b)
        cursor_[b + 1] += cursor_[b];
    end_.assign(cursor_.begin(), cursor_.end() - 1);
    entries_.resize(pending_.size());
    for (const auto &item : pending_)
        entries_[end_[item.first]++] = item.second;
}

void BlockIndex::ScanFirstBlock(int p, std::vector<LayupMaker::Run> &runs, std::vector<int> &usage)
{
    if (!free_[p] || bucketOfFirst_[p] < 0)
        return;
    const int bucket = bucketOfFirst_[p];
    int read = cursor_[bucket];
    const int stop = end_[bucket];
    // First blocks only move forward, so entries before this one's reach are done with.
    while (read < stop && entries_[read].start < p + len_)
        ++read;
    cursor_[bucket] = read;

    // Taken and blocked entries are dropped as they are met; only entries whose
    // hash hit but whose plies differ stay.
    int write = read;
    for (; read < stop; ++read) {
        const Entry entry = entries_[read];
        if (!free_[entry.start])
            continue;
        if (!Confirm(p, entry.start, entry.kind)) {
            entries_[write++] = entry;
            continue;
        }
        runs.push_back(LayupMaker::Run{len_, p, entry.start, 0, 0, entry.kind != Repeat,
                                       entry.kind == Antisymmetric});
        const int k = static_cast<int>(runs.size());
        for (int i = 0; i < len_; ++i) {
            usage[p + i] = k;
            usage[entry.start + i] = -k;
        }
        Kill(p);
        Kill(entry.start);
    }
    end_[bucket] = write;
}

bool BlockIndex::Confirm(int p, int s, int kind) const
{
    for (int i = 0; i < len_; ++i) {
        const PlySimple &first = plies_[p + i];
        const bool same = kind == Repeat   ? PliesMatch(first, plies_[s + i])
                          : kind == Mirror ? PliesMatch(first, plies_[s + len_ - 1 - i])
                                           : PliesAntiMatch(first, plies_[s + len_ - 1 - i]);
        if (!same)
            return false;
    }
    return true;
}

void BlockIndex::Kill(int blockStart)
{
    const int from = std::max(0, blockStart - len_ + 1);
    const int to = std::min(blockStart + len_ - 1, n_ - len_);
    for (int s = from; s <= to; ++s)
        free_[s] = 0;
}

void BlockIndex::ClearTable(int expected)
{
    size_t capacity = 16;
    while (capacity < size_t(expected) * 2)
        capacity *= 2;
    tableKeys_.assign(capacity, kEmpty);
    tableValues_.assign(capacity, -1);
    buckets_ = 0;
}

int BlockIndex::Lookup(uint64_t hash) const
{
    const size_t mask = tableKeys_.size() - 1;
    for (size_t i = (hash ^ (hash >> 31)) & mask;; i = (i + 1) & mask) {
        if (tableKeys_[i] == hash)
            return tableValues_[i];
        if (tableKeys_[i] == kEmpty)
            return -1;
    }
}

int BlockIndex::Insert(uint64_t hash)
{
    const size_t mask = tableKeys_.size() - 1;
    for (size_t i = (hash ^ (hash >> 31)) & mask;; i = (i + 1) & mask) {
        if (tableKeys_[i] == hash)
            return tableValues_[i];
        if (tableKeys_[i] == kEmpty) {
            tableKeys_[i] = hash;
            tableValues_[i] = buckets_;
            return buckets_++;
        }
    }
}
