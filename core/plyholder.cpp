#include "core/plyholder.h"

#include "core/plybase.h"

PlyHolder::~PlyHolder()
{
    delete ply;
}

void PlyHolder::Drop(PlyHolder *holder)
{
    if (holder && --holder->count == 0)
        delete holder;
}
