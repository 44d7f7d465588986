#include "core/plysimple.h"

#include "util/tolerance.h"

PlySimple::PlySimple(int number, const std::string &name)
    : PlyBase(number, name, Kind::Ply)
{
}

bool PlySimple::IsEqual(const PlyBase &other) const
{
    if (!PlyBase::IsEqual(other))
        return false;
    const auto *ply = dynamic_cast<const PlySimple *>(&other);
    return ply && material_ == ply->material_ && color_ == ply->color_
           && !ValuesDiffer(thickness_, ply->thickness_, kPlyTolerance)
           && !ValuesDiffer(angle_, ply->angle_, kPlyTolerance);
}

PlyBase *PlySimple::Clone() const
{
    return new PlySimple(*this);
}

void PlySimple::CollectPlies(std::vector<PlySimple> &out) const
{
    out.push_back(*this);
}

int PlySimple::Renumber(int first)
{
    SetId(first);
    return 1;
}

void PlySimple::Mirror()
{
    angle_ = static_cast<float>(static_cast<double>(angle_) * -1.0);
}
