#pragma once

class Laminate;
class LayupManager;

// What a command's Execute reaches of the laminate manager that replays it:
// the laminate the command works on and the layup manager that edits it. The
// host layer's LaminateManager provides it; reached inline and outside any
// virtual table, so that the commands need nothing of that layer at link time
// (not even its type information, which a sanitizer's checks of calls through
// a polymorphic class would ask for).
class LaminateManagerAccess
{
public:
    Laminate &CurrentLaminate() { return *current_; }
    const Laminate &CurrentLaminate() const { return *current_; }
    LayupManager *GetLayupManager() { return layupManager_; }

protected:
    LaminateManagerAccess() = default;
    ~LaminateManagerAccess() = default;
    LaminateManagerAccess(const LaminateManagerAccess &) = default;
    LaminateManagerAccess &operator=(const LaminateManagerAccess &) = default;

    Laminate *current_ = nullptr;
    LayupManager *layupManager_ = nullptr;
};
