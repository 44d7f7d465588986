#pragma once

class AppContext;

// How one request runs: unattended from a script, or interactively. Each
// operation saves its result to the host itself.
class Module
{
public:
    // context is not owned: the session deletes it after the module.
    explicit Module(AppContext *context) : context_(context) {}
    virtual ~Module() = default;
    Module(const Module &) = delete;
    Module &operator=(const Module &) = delete;

    // Creates a new laminate (create) or modifies the host's current one.
    virtual void Modeler(bool create) = 0;
    // Shows the host's current laminate.
    virtual void Sketcher() = 0;
    // Defines a new ply material.
    virtual void CreatePlyMaterial() = 0;

protected:
    AppContext *context_;
};
