#pragma once

#include "core/lamcommand.h"
#include "core/laminate.h"

#include <string>

// Replaces the laminate by a stored copy: its properties only ("Set Properties"),
// or properties and layup ("Reset").
class LamCommandReplace : public LamCommand
{
public:
    // Stores a copy of laminate; without the layup the copy keeps an empty root
    // group, so that the command holds no plies.
    LamCommandReplace(const Laminate &laminate, bool withLayup, const std::string &name);

    // Builds the stored laminate in laminate (keeping the manager's current layup
    // unless the command carries its own) and empties the layup manager's
    // clipboard. Always CommandNewLaminate.
    int Execute(LaminateManagerAccess &manager, Laminate &laminate, std::string &error) const override;
    std::string Name() const override { return name_; }

private:
    Laminate laminate_;
    bool withLayup_;
    std::string name_;
};

// Changes the stacking rule of the root layup.
class LamCommandStacking : public LamCommand
{
public:
    explicit LamCommandStacking(int code) : code_(code) {}

    // Builds the current laminate with the recorded stacking code in laminate;
    // the clipboard is left alone. Always CommandNewLaminate.
    int Execute(LaminateManagerAccess &manager, Laminate &laminate, std::string &error) const override;
    // "Simple stacking" ... "Repeat stacking with core" for codes 0 to 4, else "stacking".
    std::string Name() const override;

private:
    int code_;
};
