#include "script/laminatecommands.h"

#include "core/laminate.h"
#include "core/layupmanager.h"
#include "core/plygroup.h"
#include "core/plygrouplink.h"
#include "core/plysimple.h"
#include "core/unitsystem.h"
#include "host/appcontext.h"
#include "host/laminatemanager.h"
#include "host/materiallist.h"
#include "script/linestream.h"

#include <algorithm>
#include <iomanip>

LaminateCommands::LaminateCommands(AppContext *context, Output output)
    : ScriptContext(context, output)
{
}

const PlyGroup &LaminateCommands::Root() const
{
    return context_->GetLaminate().RootGroup();
}

namespace {

// The ids of the groups and links in group, groups entered (a link holds no items).
void CollectGroupIds(const PlyGroup &group, std::vector<int> &ids)
{
    const Layup &layup = group.GetLayup();
    for (auto it = layup.ConstBegin(); it != layup.ConstEnd(); ++it) {
        if (!dynamic_cast<const PlyGroupBase *>(it->Get()))
            continue;
        if ((*it)->Id() >= 1)
            ids.push_back((*it)->Id());
        if (const auto *inner = dynamic_cast<const PlyGroup *>(it->Get()))
            CollectGroupIds(*inner, ids);
    }
}

} // namespace

std::vector<int> LaminateCommands::GroupIds() const
{
    // One walk: asking the tree for every id up to the largest takes time in
    // the square of the groups.
    std::vector<int> ids;
    CollectGroupIds(Root(), ids);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

void LaminateCommands::SetReferencePlane(int method, float location)
{
    if (method < 1 || method > 4)
        return;
    Laminate edited = context_->GetLaminate();
    edited.SetReferencePlane(method - 1, location);
    context_->GetLaminateManager()->SetProperties(edited);
}

bool LaminateCommands::SetProperties(const std::string &theory, float f12, float bonding, float mass, float damping,
                                     float temperature)
{
    Laminate edited = context_->GetLaminate();
    if (!theory.empty()) {
        int code = 1;
        while (code <= 6 && Laminate::FailureTheoryName(code) != theory)
            ++code;
        if (code > 6)
            return false;
        edited.SetFailureTheory(code);
    }
    if (f12 >= -1.0f)
        edited.SetTsaiWuCoefficient(f12);
    if (bonding >= 0.0f)
        edited.SetBondingStress(bonding);
    if (mass >= 0.0f)
        edited.SetNonStructuralMass(mass);
    if (damping >= 0.0f)
        edited.SetDamping(damping);
    if (temperature > -999.0f)
        edited.SetReferenceTemperature(temperature);
    context_->GetLaminateManager()->SetProperties(edited);
    return true;
}

void LaminateCommands::SetStackingSequence(int rule)
{
    context_->GetLaminateManager()->SetStacking(rule);
}

int LaminateCommands::CountPlies() const { return Root().CountPliesExpanded(); }

int LaminateCommands::CountGroups() const { return static_cast<int>(GroupIds().size()); }

void LaminateCommands::UnselectAll() { selection_.Clear(); }

void LaminateCommands::SelectAll()
{
    selection_.Clear();
    const int count = Root().CountPlies();
    for (int number = 1; number <= count; ++number)
        selection_.plies.push_back(number);
    selection_.SetGroups(GroupIds());
}

void LaminateCommands::SelectPly(int number)
{
    std::vector<int> &plies = selection_.plies;
    const auto at = std::lower_bound(plies.begin(), plies.end(), number);
    if (at == plies.end() || *at != number)
        plies.insert(at, number);
}

void LaminateCommands::SelectGroup(int id) { selection_.SelectGroup(id); }

void LaminateCommands::ShowSelection() const
{
    PrintIdList(selection_.plies, "plies");
    PrintIdList(selection_.Groups(), "groups");
}

void LaminateCommands::PrintIdList(const std::vector<int> &ids, const char *label) const
{
    LineStream head;
    head << ids.size() << " " << label << " selected:";
    PrintLine(head.str());
    constexpr size_t kPerLine = 15;
    for (size_t first = 0; first < ids.size(); first += kPerLine) {
        LineStream line;
        for (size_t i = first; i < std::min(ids.size(), first + kPerLine); ++i)
            line << std::setw(5) << ids[i];
        PrintLine(line.str());
    }
}

void LaminateCommands::MeetMaterial(int material)
{
    if (MaterialList *materials = context_->GetMaterialList())
        materials->Add(material);
}

void LaminateCommands::AddPly(int material, float thickness, float angle, int color, bool below)
{
    MeetMaterial(material);
    LayupManager *layup = context_->GetLayupManager();
    layup->SetInsertBefore(below);
    layup->AddPly(selection_, material, thickness, angle, color);
    layup->Renumber();
    selection_.Clear();
}

void LaminateCommands::ModifyPlyMaterial(int material)
{
    MeetMaterial(material);
    context_->GetLayupManager()->ModifyMaterial(selection_, material);
}

void LaminateCommands::ModifyPlyThickness(float thickness)
{
    context_->GetLayupManager()->ModifyThickness(selection_, thickness);
}

void LaminateCommands::ModifyPlyAngle(float angle)
{
    context_->GetLayupManager()->ModifyAngle(selection_, angle);
}

void LaminateCommands::ModifyPlyColor(int color)
{
    context_->GetLayupManager()->ModifyColor(selection_, color);
}

void LaminateCommands::Delete()
{
    LayupManager *layup = context_->GetLayupManager();
    layup->Delete(selection_);
    layup->Renumber();
    selection_.Clear();
}

void LaminateCommands::Cut()
{
    LayupManager *layup = context_->GetLayupManager();
    layup->Cut(selection_);
    layup->Renumber();
    selection_.Clear();
}

void LaminateCommands::Copy()
{
    context_->GetLayupManager()->Copy(selection_);
    selection_.Clear();
}

void LaminateCommands::Paste(bool mirrored, bool antisymmetric, bool below, int count)
{
    LayupManager *layup = context_->GetLayupManager();
    layup->SetInsertBefore(below);
    layup->Paste(selection_, mirrored, antisymmetric, count);
    layup->Renumber();
}

void LaminateCommands::Group()
{
    context_->GetLayupManager()->CreateGroup(selection_);
    selection_.Clear();
}

void LaminateCommands::Ungroup()
{
    context_->GetLayupManager()->Ungroup(selection_);
    selection_.Clear();
}

void LaminateCommands::Link()
{
    context_->GetLayupManager()->CreateLink(selection_);
    selection_.Clear();
}

void LaminateCommands::Unlink()
{
    context_->GetLayupManager()->Unlink(selection_);
    selection_.Clear();
}

void LaminateCommands::AutoGroup()
{
    LayupManager *layup = context_->GetLayupManager();
    while (!layup->AutoGroup(nullptr)) {
    }
    selection_.Clear();
}

void LaminateCommands::ListProperties() const
{
    const Laminate &laminate = context_->GetLaminate();
    const UnitSystem &units = context_->GetUnits();
    const std::string length = units.LengthName(false);
    const float thickness = Root().Thickness();

    static const char *const planeWords[] = {" Top (", " Middle (", " Bottom ("};
    const int method = laminate.ReferencePlaneMethod();
    LineStream plane;
    plane << "Reference plane location: " << (method >= 0 && method <= 2 ? planeWords[method] : "user-defined (")
          << laminate.ReferencePlaneLocation(thickness) << " " << length << ")";
    PrintLine(plane.str());

    PrintLine("Failure theory: " + Laminate::FailureTheoryName(laminate.FailureTheory()));
    if (laminate.FailureTheory() == Laminate::TsaiWu) {
        LineStream line;
        line << "Tsai-Wu interaction coefficient: " << laminate.TsaiWuCoefficient();
        PrintLine(line.str());
    }
    LineStream bonding, mass, damping, temperature, total;
    bonding << "Allowable stress for bonding: " << laminate.BondingStress() << " " << units.StressName();
    mass << "Non-structural mass: " << laminate.NonStructuralMass() << " " << units.MassPerAreaName();
    damping << "Damping coefficient: " << laminate.Damping();
    temperature << "Reference temperature: " << laminate.ReferenceTemperature() << " " << units.TemperatureName(false);
    total << "Total thickness " << std::fixed << std::setprecision(4) << thickness << " " << length << " with "
          << Root().CountPlies() << " plies";
    for (const LineStream *line : {&bonding, &mass, &damping, &temperature, &total})
        PrintLine(line->str());
}

void LaminateCommands::ListLayup() const
{
    static const char *const names[] = {"Simple stacking", "Full symmetric stacking", "Symmetric stacking with core",
                                        "Full Repeat stacking", "Repeat stacking with core"};
    const int rule = Root().GetLayup().Stacking();
    PrintLine(rule >= 0 && rule <= 4 ? names[rule] : "Unknow stacking ???");
    ListPly(Root(), 1, "");
}

int LaminateCommands::ListPly(const PlyGroup &group, int counter, const std::string &indent) const
{
    const MaterialList *materials = context_->GetMaterialList();
    const std::string length = context_->GetUnits().LengthName(false);
    for (auto item = group.GetLayup().ConstBegin(); item != group.GetLayup().ConstEnd(); ++item) {
        const PlyBase &ply = **item;
        LineStream line;
        if (const auto *simple = dynamic_cast<const PlySimple *>(&ply)) {
            MaterialInfo material;
            if (!materials || materials->GetMaterial(simple->Material(), material) < 0)
                material = MaterialInfo();
            // A 0 degree ply that a link negates holds -0, which would print as "-0.0".
            const float angle = simple->Angle() == 0.0f ? 0.0f : simple->Angle();
            line << indent << "Ply " << std::setw(3) << counter << ": " << std::setw(8) << std::setprecision(5)
                 << simple->Thickness() << " " << length << " @" << std::fixed << std::setw(5) << std::setprecision(1)
                 << angle << " of " << material.Name();
            PrintLine(line.str());
            ++counter;
        } else if (const auto *link = dynamic_cast<const PlyGroupLink *>(&ply)) {
            static const char *const types[] = {" Repeat", " Symmetry", " Antisymmetry"};
            const int type = link->LinkType();
            line << indent << "Linked group " << link->Id() << " - " << link->Name()
                 << (type >= 0 && type <= 2 ? types[type] : " UnknownType") << " of group " << link->TargetGroupId();
            PrintLine(line.str());
            counter = ListPly(link->ExpandedCopy(), counter, indent + "  ");
        } else if (const auto *child = dynamic_cast<const PlyGroup *>(&ply)) {
            line << indent << "Group " << child->Id() << " - " << child->Name();
            if (const int dependents = Root().CountLinksTo(child->Id()); dependents > 0)
                line << " (" << dependents << " dependent linked groups)";
            PrintLine(line.str());
            counter = ListPly(*child, counter, indent + "  ");
        } else {
            PrintLine("Unknown ply???");
        }
    }
    return counter;
}
