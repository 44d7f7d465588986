#pragma once

#include "core/plygroup.h"

#include <string>

class UnitSystem;

// One laminate definition: name, the host's two integers, the properties and
// the root group holding the layup. Copied by value (the root as PlyGroup
// copies it: the plies shared until changed). Setters raise the modified flag
// only on a real change, so that writing back unchanged values leaves it clear.
class Laminate
{
public:
    enum FailureTheoryCode { Hill = 1, Hoffman, TsaiWu, MaximumStress, MaximumStrain, UserDefinedTheory };
    enum ReferencePlaneMethodCode { Top = 0, Middle, Bottom, UserDefinedLocation };

    Laminate();
    Laminate(int id, const std::string &name, int hostNumber);
    Laminate(const Laminate &other);
    // Takes other's layup; other keeps an empty root.
    Laminate(Laminate &&other);
    Laminate &operator=(const Laminate &other);
    Laminate &operator=(Laminate &&other);

    int Id() const { return id_; }
    const std::string &Name() const { return name_; }
    int HostNumber() const { return hostNumber_; }
    int HostOption() const { return hostOption_; }
    int TsaiWuInteractionType() const { return tsaiWuInteractionType_; }
    int FailureTheory() const { return failureTheory_; }
    int ReferencePlaneMethod() const { return referencePlaneMethod_; }
    float UserReferencePlaneLocation() const { return userLocation_; }
    float BondingStress() const { return bondingStress_; }
    float TsaiWuCoefficient() const { return tsaiWuCoefficient_; }
    double NonStructuralMass() const { return nonStructuralMass_; }
    double Damping() const { return damping_; }
    double ReferenceTemperature() const { return referenceTemperature_; }
    const PlyGroup &RootGroup() const { return root_; }
    bool IsModified() const { return modified_; }

    void SetFailureTheory(int code);
    void SetHostOption(int value);
    void SetTsaiWuInteractionType(int type);
    // Stores both values; the location is kept even when the method is not user-defined.
    void SetReferencePlane(int method, float location);
    void SetBondingStress(float stress);
    void SetTsaiWuCoefficient(float coefficient);
    void SetNonStructuralMass(double mass);
    void SetDamping(double damping);
    void SetReferenceTemperature(double temperature);
    // Installs a deep copy of group as the root, re-roots its links and
    // numbers the plies from 1. Every layup edit ends with this call.
    void SetLayup(const PlyGroup &group);
    // The same, taking group's items; group is left empty.
    void SetLayup(PlyGroup &&group);
    void ClearModified() { modified_ = false; }

    // Compares everything but the name and the modified flag.
    bool IsEqual(const Laminate &other) const;
    // "Hill" ... "User-Defined" for codes 1 to 6; empty for any other code.
    static std::string FailureTheoryName(int code);
    // The reference plane for a stack of the given total thickness.
    float ReferencePlaneLocation(float totalThickness) const;
    // The state of a new laminate named "Laminate", reference temperature 295 K
    // in the given unit system.
    void Reset(const UnitSystem &units);

private:
    void Touch(bool changed) { modified_ = modified_ || changed; }
    void CopyProperties(const Laminate &other);

    std::string name_;
    int id_ = 0;
    int hostNumber_ = 0;
    int hostOption_ = 0;
    int tsaiWuInteractionType_ = 1;
    int failureTheory_ = TsaiWu;
    int referencePlaneMethod_ = Middle;
    float userLocation_ = 0.0f;
    float bondingStress_ = 0.0f;
    float tsaiWuCoefficient_ = -0.5f;
    double nonStructuralMass_ = 0.0;
    double damping_ = 0.0;
    double referenceTemperature_ = 295.0;
    PlyGroup root_{0};
    bool modified_ = false;
};
