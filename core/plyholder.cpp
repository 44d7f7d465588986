#include "core/plyholder.h"

#include "core/plybase.h"

PlyHolder::~PlyHolder()
{
    delete ply;
}

void PlyHolder::Destroy(PlyHolder *holder)
{
    delete holder;
}
