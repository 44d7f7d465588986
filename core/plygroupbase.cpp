#include "core/plygroupbase.h"

PlyGroupBase::PlyGroupBase(int id, const std::string &name)
    : PlyBase(id, name, Kind::Group)
{
}
