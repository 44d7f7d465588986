#pragma once

#include "core/layupmaker.h"

#include <cstdint>
#include <utility>
#include <vector>

class PlySimple;

// The ply comparisons of the grouping search. Two plies match when material and
// colour are equal and neither thickness nor angle differ at tolerance 1e-6; they
// anti-match when the same holds with the second angle negated.
bool PliesMatch(const PlySimple &a, const PlySimple &b);
bool PliesAntiMatch(const PlySimple &a, const PlySimple &b);

// The grouping search's scan of one first block, made cheap. Every ply gets a
// class such that matching plies always share a class (and anti-matching plies
// share a class with the negated one), so blocks that can match have equal
// polynomial hashes: forward, reversed, or reversed over the negated classes.
// For one block length the free later blocks are bucketed under the hash of the
// first blocks they could pair with, so a scan visits only the candidates and
// confirms each ply by ply. The result is exactly that of the plain scan: same
// runs, same order, same usage marks.
class BlockIndex
{
public:
    // plies must outlive the index and stay unchanged.
    explicit BlockIndex(const std::vector<PlySimple> &plies);

    // Indexes the free blocks of length len (2 <= len <= n / 2) against usage, the
    // maker's marks: 0 free, non-zero taken.
    void BeginLength(int len, const std::vector<int> &usage);
    // The length last indexed, 0 before the first.
    int Length() const { return len_; }

    // The scan of the first block at p (0 <= p <= n - 2 * Length()): when that
    // block is free, appends a run for every later free block that repeats it,
    // mirrors it or mirrors it with negated angles, from the front, and marks both
    // blocks of each run in usage (+k and -k for run number k).
    void ScanFirstBlock(int p, std::vector<LayupMaker::Run> &runs, std::vector<int> &usage);

private:
    enum Kind { Repeat = 0, Mirror = 1, Antisymmetric = 2 };
    struct Entry
    {
        int start;
        int kind;
    };

    uint64_t Hash(const std::vector<uint64_t> &prefix, int from) const;
    uint64_t ForwardHash(int s) const { return Hash(forward_, s); }
    uint64_t KindHash(int kind, int s) const;
    bool Confirm(int p, int s, int kind) const;
    void Kill(int blockStart);

    // Open addressing from a first block's hash to its bucket.
    void ClearTable(int expected);
    int Lookup(uint64_t hash) const;
    int Insert(uint64_t hash);

    const std::vector<PlySimple> &plies_;
    int n_;
    int len_ = 0;
    // Prefix hashes of the classes, of the reversed classes and of the reversed
    // negated classes; powers_[k] = base^k.
    std::vector<uint64_t> forward_, reversed_, negated_, powers_;
    uint64_t lengthPower_ = 1;

    std::vector<char> free_;          // per block start: no ply of the block taken
    std::vector<int> bucketOfFirst_;  // per first block: its bucket, -1 when none
    std::vector<Entry> entries_;      // later blocks, by bucket, each bucket ascending
    std::vector<int> cursor_, end_;   // per bucket: next live entry, end of its entries
    std::vector<uint64_t> tableKeys_;
    std::vector<int> tableValues_;
    int buckets_ = 0;
    std::vector<std::pair<int, Entry>> pending_;
};
