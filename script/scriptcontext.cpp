#include "script/scriptcontext.h"

#include "host/appcontext.h"
#include "host/materiallist.h"

ScriptContext::ScriptContext(AppContext *context, Output output)
    : context_(context)
    , output_(output)
{
}

void ScriptContext::PrintLine(const std::string &line) const
{
    if (output_)
        output_(line.c_str());
}

int ScriptContext::SelectMaterial()
{
    MaterialList *materials = context_->GetMaterialList();
    if (!materials)
        return -1;
    const int id = materials->SelectMaterial(PlyMaterialKind, nullptr);
    return id < 0 ? -1 : id;
}
