#pragma once

#include "tools/lamhost/store.h"

#include <optional>
#include <string>
#include <vector>

// The lamhost program's command line (usage in Usage()).
namespace LamHost {

enum class Operation { Create, Modify, Sketch, PlyMaterial };

struct SlotFault
{
    Slot slot;
    Fault fault;
};

struct QueuedPick
{
    int kind; // MaterialSelectKind: 1 matrix, 2 fibre, 3 ply
    int id;
};

struct CommandLine
{
    bool help = false;
    std::string module;    // empty: the corvane.so beside the program
    std::string store;     // empty: the demo store
    std::string saveStore; // empty: the store is not written
    std::optional<std::string> script;
    std::optional<int> language;
    std::optional<int> unitSystem;
    std::vector<SlotFault> faults; // at most one per slot
    std::vector<QueuedPick> picks; // in the order given
    std::vector<Operation> operations;
};

// Parses the arguments that follow the program name. False with an error text
// for a bad command line (out is then unspecified). With --help anywhere the
// rest is not checked.
bool ParseCommandLine(const std::vector<std::string> &args, CommandLine &out, std::string &error);

// The --help text.
const char *Usage();

} // namespace LamHost
