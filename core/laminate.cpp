#include "core/laminate.h"

#include "core/unitsystem.h"
#include "util/tolerance.h"

namespace {
constexpr float kFloatTolerance = 1e-6f;
constexpr double kSetterTolerance = 1e-8;
constexpr double kEqualityTolerance = 1e-7;
} // namespace

Laminate::Laminate() = default;

Laminate::Laminate(int id, const std::string &name, int hostNumber)
    : name_(name)
    , id_(id)
    , hostNumber_(hostNumber)
{
}

Laminate::Laminate(const Laminate &other) = default; // PlyGroup's copy re-roots inside the copy

Laminate::Laminate(Laminate &&other)
    : root_(std::move(other.root_))
{
    CopyProperties(other);
}

Laminate &Laminate::operator=(const Laminate &other)
{
    if (this == &other)
        return *this;
    root_ = other.root_;
    root_.SetRoot(&root_);
    CopyProperties(other);
    return *this;
}

Laminate &Laminate::operator=(Laminate &&other)
{
    if (this == &other)
        return *this;
    root_ = std::move(other.root_);
    CopyProperties(other);
    return *this;
}

void Laminate::CopyProperties(const Laminate &other)
{
    name_ = other.name_;
    id_ = other.id_;
    hostNumber_ = other.hostNumber_;
    hostOption_ = other.hostOption_;
    tsaiWuInteractionType_ = other.tsaiWuInteractionType_;
    failureTheory_ = other.failureTheory_;
    referencePlaneMethod_ = other.referencePlaneMethod_;
    userLocation_ = other.userLocation_;
    bondingStress_ = other.bondingStress_;
    tsaiWuCoefficient_ = other.tsaiWuCoefficient_;
    nonStructuralMass_ = other.nonStructuralMass_;
    damping_ = other.damping_;
    referenceTemperature_ = other.referenceTemperature_;
    modified_ = other.modified_;
}

void Laminate::SetFailureTheory(int code)
{
    Touch(code != failureTheory_);
    failureTheory_ = code;
}

void Laminate::SetHostOption(int value)
{
    Touch(value != hostOption_);
    hostOption_ = value;
}

void Laminate::SetTsaiWuInteractionType(int type)
{
    Touch(type != tsaiWuInteractionType_);
    tsaiWuInteractionType_ = type;
}

void Laminate::SetReferencePlane(int method, float location)
{
    Touch(method != referencePlaneMethod_);
    Touch(!modified_ && ValuesDiffer(userLocation_, location, kFloatTolerance));
    referencePlaneMethod_ = method;
    userLocation_ = location;
}

void Laminate::SetBondingStress(float stress)
{
    Touch(!modified_ && ValuesDiffer(bondingStress_, stress, kFloatTolerance));
    bondingStress_ = stress;
}

void Laminate::SetTsaiWuCoefficient(float coefficient)
{
    Touch(!modified_ && ValuesDiffer(tsaiWuCoefficient_, coefficient, kFloatTolerance));
    tsaiWuCoefficient_ = coefficient;
}

void Laminate::SetNonStructuralMass(double mass)
{
    Touch(!modified_ && ValuesDiffer(nonStructuralMass_, mass, kSetterTolerance));
    nonStructuralMass_ = mass;
}

void Laminate::SetDamping(double damping)
{
    Touch(!modified_ && ValuesDiffer(damping_, damping, kSetterTolerance));
    damping_ = damping;
}

void Laminate::SetReferenceTemperature(double temperature)
{
    Touch(!modified_ && ValuesDiffer(referenceTemperature_, temperature, kSetterTolerance));
    referenceTemperature_ = temperature;
}

void Laminate::SetLayup(const PlyGroup &group)
{
    Touch(!modified_ && !root_.IsEqual(group));
    root_ = group;
    root_.SetRoot(&root_);
    root_.Renumber(1);
}

void Laminate::SetLayup(PlyGroup &&group)
{
    Touch(!modified_ && !root_.IsEqual(group));
    root_ = std::move(group); // re-roots the links
    root_.Renumber(1);
}

bool Laminate::IsEqual(const Laminate &other) const
{
    if (id_ != other.id_ || hostNumber_ != other.hostNumber_ || failureTheory_ != other.failureTheory_
        || hostOption_ != other.hostOption_ || tsaiWuInteractionType_ != other.tsaiWuInteractionType_
        || referencePlaneMethod_ != other.referencePlaneMethod_)
        return false;
    if (referencePlaneMethod_ == UserDefinedLocation
        && ValuesDiffer(userLocation_, other.userLocation_, kFloatTolerance))
        return false;
    if (ValuesDiffer(bondingStress_, other.bondingStress_, kFloatTolerance))
        return false;
    if (failureTheory_ == TsaiWu && ValuesDiffer(tsaiWuCoefficient_, other.tsaiWuCoefficient_, kFloatTolerance))
        return false;
    if (ValuesDiffer(nonStructuralMass_, other.nonStructuralMass_, kEqualityTolerance)
        || ValuesDiffer(damping_, other.damping_, kEqualityTolerance)
        || ValuesDiffer(referenceTemperature_, other.referenceTemperature_, kEqualityTolerance))
        return false;
    return root_.IsEqual(other.root_);
}

std::string Laminate::FailureTheoryName(int code)
{
    static const char *const names[] = {"Hill", "Hoffman", "Tsai-Wu", "maximum Stress", "maximum Strain",
                                        "User-Defined"};
    return code >= 1 && code <= 6 ? names[code - 1] : "";
}

float Laminate::ReferencePlaneLocation(float totalThickness) const
{
    switch (referencePlaneMethod_) {
    case Top:
        return totalThickness * -1.0f;
    case Middle:
        return totalThickness * -0.5f;
    case Bottom:
        return 0.0f;
    default:
        return userLocation_;
    }
}

void Laminate::Reset(const UnitSystem &units)
{
    *this = Laminate(0, "Laminate", 0);
    referenceTemperature_ = units.TemperatureFromKelvin(295.0);
}
