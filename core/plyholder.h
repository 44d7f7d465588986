#pragma once

class PlyBase;

// The shared cell behind PlyHandle and ConstPlyHandle: handles of both kinds
// count in the same count, and the handle that drops it to 0 deletes the
// holder, which deletes its item through the virtual destructor.
struct PlyHolder
{
    explicit PlyHolder(PlyBase *ply) : ply(ply) {}
    PlyHolder(const PlyHolder &) = delete;
    PlyHolder &operator=(const PlyHolder &) = delete;
    ~PlyHolder();

    // Drops one share of holder (null is ignored); the last share deletes it.
    static void Drop(PlyHolder *holder)
    {
        if (holder && --holder->count == 0)
            Destroy(holder);
    }
    // Out of line, so the compiler does not track the delete into every caller.
    static void Destroy(PlyHolder *holder);

    PlyBase *ply;  // owned; may be null
    int count = 0; // handles that refer to this holder (not atomic: one thread)
};
