#include "host/materiallist.h"

#include "host/hosttext.h"

#include <set>

struct MaterialList::Impl
{
    std::set<MaterialInfo> materials;
    lamGetMaterialFn getMaterial;
    lamSelectMaterialFn selectMaterial;
};

namespace {

// Asks the host for the material of that id; false when it does not know it.
bool ReadMaterial(lamGetMaterialFn getMaterial, int id, MaterialInfo &out)
{
    HostText name(lamTextBufferSize);
    HostText type(lamTextBufferSize);
    if (!getMaterial || getMaterial(id, name.Buffer(), type.Buffer()) != 0)
        return false;
    out = MaterialInfo(id, name.Text(), type.Text());
    return true;
}

} // namespace

MaterialList::MaterialList(lamGetMaterialFn getMaterial, lamSelectMaterialFn selectMaterial)
    : impl_(new Impl{{}, getMaterial, selectMaterial})
{
}

MaterialList::~MaterialList() = default;

int MaterialList::Add(int id)
{
    if (Contains(id))
        return id;
    MaterialInfo info;
    if (!ReadMaterial(impl_->getMaterial, id, info))
        return -1;
    impl_->materials.insert(info);
    return id;
}

int MaterialList::GetNextId(int id) const
{
    const std::set<MaterialInfo> &materials = impl_->materials;
    auto it = materials.begin();
    if (id != -1) {
        it = materials.find(MaterialInfo(id));
        if (it != materials.end())
            ++it;
    }
    return it == materials.end() ? -1 : it->Id();
}

int MaterialList::GetMaterial(int id, MaterialInfo &out) const
{
    const auto it = impl_->materials.find(MaterialInfo(id));
    if (it == impl_->materials.end())
        return -1;
    out = *it;
    return id;
}

bool MaterialList::Contains(int id) const
{
    return impl_->materials.count(MaterialInfo(id)) != 0;
}

int MaterialList::SelectMaterial(int kind, bool *changed)
{
    int id = -1;
    const int rc = impl_->selectMaterial ? impl_->selectMaterial(kind, &id) : -1;
    // The user may have edited the catalogue while the picker was open.
    Refresh(changed);
    if (rc != 0 || id == -1)
        return -2;
    return Add(id);
}

void MaterialList::Refresh(bool *changed)
{
    bool any = false;
    std::set<MaterialInfo> &materials = impl_->materials;
    for (auto it = materials.begin(); it != materials.end();) {
        MaterialInfo fresh;
        if (!ReadMaterial(impl_->getMaterial, it->Id(), fresh)) {
            it = materials.erase(it);
            any = true;
        } else if (fresh.Name() != it->Name() || fresh.Type() != it->Type()) {
            it = materials.erase(it);
            it = materials.insert(it, fresh);
            ++it;
            any = true;
        } else {
            ++it;
        }
    }
    if (changed)
        *changed = any;
}
