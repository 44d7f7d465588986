#pragma once

#include "core/materialcatalog.h"
#include "host/lamcallbacks.h"

#include <memory>
#include <string>

// What the host's material picker is asked for.
enum MaterialSelectKind {
    MatrixMaterialKind = 1, // ply material dialog
    FiberMaterialKind = 2,  // ply material dialog
    PlyMaterialKind = 3     // plies: layup dialog, ply data dialog, scripts
};

// A material of the host's catalogue. The type text is kept and compared but
// otherwise passed on unread. Order and equality compare the id only.
class MaterialInfo
{
public:
    MaterialInfo() = default;
    explicit MaterialInfo(int id) : id_(id) {} // a lookup key
    MaterialInfo(int id, const std::string &name, const std::string &type)
        : id_(id), name_(name), type_(type) {}

    int Id() const { return id_; }
    const std::string &Name() const { return name_; }
    const std::string &Type() const { return type_; }

    bool operator<(const MaterialInfo &other) const { return id_ < other.id_; }
    bool operator==(const MaterialInfo &other) const { return id_ == other.id_; }

private:
    int id_ = 0;
    std::string name_;
    std::string type_;
};

// The materials of the host's catalogue that this request has met: those that
// the plies reference and those picked through the host's picker. The host is
// asked only by Add and SelectMaterial; a null host function counts as a
// failing call.
class MaterialList : public MaterialCatalog
{
public:
    MaterialList(lamGetMaterialFn getMaterial, lamSelectMaterialFn selectMaterial);
    ~MaterialList() override;
    MaterialList(const MaterialList &) = delete;
    MaterialList &operator=(const MaterialList &) = delete;

    // Caches the material of that id, asking the host when it is not held yet.
    // Returns id, or -1 (nothing cached) when the host does not know it.
    int Add(int id);
    // -1 when empty; id -1 gives the lowest id; otherwise the next id in id
    // order, or -1 when id is the last or is not held.
    int GetNextId(int id) const;
    // Copies the entry into out and returns its id; -1 (out untouched) when not held.
    int GetMaterial(int id, MaterialInfo &out) const;
    bool Contains(int id) const override;

    // Runs the host's picker for a MaterialSelectKind, then reads every held
    // entry again: entries the host no longer knows are dropped and renamed ones
    // take the host's texts; *changed tells whether that changed anything
    // (changed may be null). Returns the chosen id (now cached), -2 when nothing
    // was chosen, or -1 when the host does not know the chosen id.
    int SelectMaterial(int kind, bool *changed);

private:
    void Refresh(bool *changed);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};
