#pragma once

#include <string>
#include <vector>

class PlySimple;

// Common base of every item of a layup: simple ply, group and link. Items live
// on the heap and are held through shared handles (core/plyhandle.h).
class PlyBase
{
public:
    PlyBase(int id, const std::string &name);
    PlyBase(const PlyBase &other) = default;
    PlyBase &operator=(const PlyBase &other) = default;
    virtual ~PlyBase();

    // Ply number of a simple ply (1 = bottom), group id of a group or link.
    int Id() const { return id_; }
    void SetId(int id) { id_ = id; }
    // Pre-order position set by PlyGroup::AssignSerials; 0 on construction.
    int Serial() const { return serial_; }
    void SetSerial(int serial) { serial_ = serial; }
    const std::string &Name() const { return name_; }

    // True when ids and names are equal; the serial is not compared. Derived
    // classes call this first and add their own conditions.
    virtual bool IsEqual(const PlyBase &other) const;
    // A new deep copy; the caller owns it.
    virtual PlyBase *Clone() const = 0;
    // Appends a copy of every simple ply the item stands for, bottom first,
    // links expanded, stacking rule not applied.
    virtual void CollectPlies(std::vector<PlySimple> &out) const = 0;
    // The number of plies CollectPlies appends.
    virtual int CountPlies() const = 0;
    // Numbers the item's plies from first upward; returns how many numbers it used.
    virtual int Renumber(int first) = 0;
    // Reverses the order of the item's plies, recursively.
    virtual void Reverse() = 0;
    // Negates the fibre angles of the item's plies.
    virtual void Mirror() = 0;
    // Summed thickness of the item's plies (stacking rule not applied).
    virtual float Thickness() const = 0;
    // Whether the item is a simple ply, or a group or link: what the walks over
    // large trees ask of every item, cheaper than a dynamic_cast.
    bool IsPly() const { return kind_ == Kind::Ply; }
    bool IsGroupItem() const { return kind_ == Kind::Group; }

protected:
    enum class Kind { Other, Ply, Group };
    // For PlySimple and PlyGroupBase, which tell their kind.
    PlyBase(int id, const std::string &name, Kind kind);

private:
    int id_;
    int serial_ = 0;
    std::string name_;
    Kind kind_ = Kind::Other;
};
