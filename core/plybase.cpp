#include "core/plybase.h"

PlyBase::PlyBase(int id, const std::string &name)
    : id_(id), name_(name)
{
}

PlyBase::PlyBase(int id, const std::string &name, Kind kind)
    : id_(id), name_(name), kind_(kind)
{
}

PlyBase::~PlyBase() = default;

bool PlyBase::IsEqual(const PlyBase &other) const
{
    return id_ == other.id_ && name_ == other.name_;
}
