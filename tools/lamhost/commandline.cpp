#include "tools/lamhost/commandline.h"

#include <algorithm>
#include <charconv>
#include <strings.h>

namespace LamHost {

namespace {

// Slots whose fault changes an answer; the others have no result to fail.
constexpr Slot kFailSlots[] = {
    Slot::GetLanguage, Slot::GetUnitSystem, Slot::GetColorCount, Slot::GetColorIDs,
    Slot::GetColor, Slot::GetScriptPath, Slot::GetMaterial, Slot::SelectMaterial,
    Slot::SavePlyMaterial, Slot::GetCurrentLaminate, Slot::GetCurrentLaminatePlies,
    Slot::SaveLaminate,
};

struct KindName
{
    const char *name;
    int kind;
};
constexpr KindName kKinds[] = {
    {"matrix", 1}, {"fiber", 2}, {"fibre", 2}, {"ply", 3}, {"1", 1}, {"2", 2}, {"3", 3},
};

struct OperationName
{
    const char *name;
    Operation operation;
};
constexpr OperationName kOperations[] = {
    {"create", Operation::Create},
    {"modify", Operation::Modify},
    {"sketch", Operation::Sketch},
    {"plymat", Operation::PlyMaterial},
};

// A whole decimal int, nothing before or after it.
bool ToInt(const std::string &text, int &value)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool ParseFault(const std::string &text, SlotFault &out, std::string &error)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos) {
        error = "--fail " + text + ": expected SLOT=RC or SLOT=RC@N";
        return false;
    }
    const std::string name = text.substr(0, eq);
    const auto slot = std::find_if(std::begin(kFailSlots), std::end(kFailSlots), [&](Slot s) {
        return strcasecmp(SlotName(s), name.c_str()) == 0;
    });
    if (slot == std::end(kFailSlots)) {
        error = "--fail " + text + ": no slot " + name + " to fail (see --help)";
        return false;
    }
    std::string rc = text.substr(eq + 1);
    int onCall = 0;
    const size_t at = rc.find('@');
    if (at != std::string::npos) {
        if (!ToInt(rc.substr(at + 1), onCall) || onCall < 1) {
            error = "--fail " + text + ": N must be a call number from 1";
            return false;
        }
        rc.resize(at);
    }
    int result = 0;
    if (!ToInt(rc, result)) {
        error = "--fail " + text + ": RC must be an integer";
        return false;
    }
    out = {*slot, Fault::Fail(result, onCall)};
    return true;
}

bool ParsePick(const std::string &text, QueuedPick &out, std::string &error)
{
    const size_t eq = text.find('=');
    const std::string kind = text.substr(0, eq);
    const auto k = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const KindName &n) {
        return strcasecmp(n.name, kind.c_str()) == 0;
    });
    if (eq == std::string::npos || k == std::end(kKinds)) {
        error = "--pick " + text + ": expected KIND=ID with KIND matrix, fiber or ply";
        return false;
    }
    if (!ToInt(text.substr(eq + 1), out.id)) {
        error = "--pick " + text + ": ID must be an integer";
        return false;
    }
    out.kind = k->kind;
    return true;
}

// Sets a value that may be given once.
template <typename T>
bool SetOnce(T &target, bool given, T value, const std::string &option, std::string &error)
{
    if (given) {
        error = option + " given twice";
        return false;
    }
    target = std::move(value);
    return true;
}

} // namespace

bool ParseCommandLine(const std::vector<std::string> &args, CommandLine &out, std::string &error)
{
    out = {};
    if (std::find_if(args.begin(), args.end(), [](const std::string &a) {
            return a == "--help" || a == "-h";
        }) != args.end()) {
        out.help = true;
        return true;
    }
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg.empty() || arg[0] != '-') {
            const auto op = std::find_if(std::begin(kOperations), std::end(kOperations),
                                         [&](const OperationName &o) { return arg == o.name; });
            if (op == std::end(kOperations)) {
                error = "unknown operation '" + arg + "' (create, modify, sketch or plymat)";
                return false;
            }
            out.operations.push_back(op->operation);
            continue;
        }
        static const char *const withValue[] = {"--module", "--store", "--save-store", "--script",
                                                "--lang",   "--units", "--fail",       "--pick"};
        if (std::find(std::begin(withValue), std::end(withValue), arg) == std::end(withValue)) {
            error = "unknown option " + arg;
            return false;
        }
        if (i + 1 == args.size()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string &value = args[++i];
        // An empty file name would silently mean the default.
        if (value.empty()) {
            error = arg + " needs a value";
            return false;
        }
        bool ok = true;
        if (arg == "--module") {
            ok = SetOnce(out.module, !out.module.empty(), value, arg, error);
        } else if (arg == "--store") {
            ok = SetOnce(out.store, !out.store.empty(), value, arg, error);
        } else if (arg == "--save-store") {
            ok = SetOnce(out.saveStore, !out.saveStore.empty(), value, arg, error);
        } else if (arg == "--script") {
            ok = SetOnce(out.script, out.script.has_value(), {value}, arg, error);
        } else if (arg == "--lang" || arg == "--units") {
            std::optional<int> &target = arg == "--lang" ? out.language : out.unitSystem;
            int n = 0;
            if (!ToInt(value, n)) {
                error = arg + " " + value + ": expected an integer";
                return false;
            }
            ok = SetOnce(target, target.has_value(), {n}, arg, error);
        } else if (arg == "--fail") {
            SlotFault fault{};
            ok = ParseFault(value, fault, error);
            // The store holds one fault per slot; a second one would silently replace the first.
            if (ok && std::any_of(out.faults.begin(), out.faults.end(),
                                  [&](const SlotFault &f) { return f.slot == fault.slot; })) {
                error = std::string("--fail ") + value + ": only one fault per slot (" +
                        SlotName(fault.slot) + " already has one)";
                ok = false;
            }
            if (ok)
                out.faults.push_back(fault);
        } else {
            QueuedPick pick{};
            ok = ParsePick(value, pick, error);
            if (ok)
                out.picks.push_back(pick);
        }
        if (!ok)
            return false;
    }
    if (out.operations.empty()) {
        error = "no operation given (create, modify, sketch or plymat)";
        return false;
    }
    return true;
}

const char *Usage()
{
    return R"(Usage: lamhost [OPTION]... OP...
Loads the Corvane module, hands it the callback table of a host stand-in with
one lamSetup, then runs each OP in order, in one process:
  create   lamModeler(1): create a laminate
  modify   lamModeler(0): modify the current laminate
  sketch   lamSketcher(): show the current laminate
  plymat   lamPlyMaterial(): define a ply material

Options:
  --module PATH       the module to load (default: corvane.so in lamhost's
                      folder, else in the build tree two folders above it)
  --store FILE        the store to serve, as JSON (default: the built-in demo
                      store: materials, sixteen colours and an eight-ply
                      [0/45/-45/90] symmetric laminate); a regular file of at
                      most 64 MiB
  --save-store FILE   write the store back as JSON after the operations
  --script FILE       the path that GetScriptPath answers, a readable regular
                      file (default: none, so the module runs interactively)
  --lang N            the language that GetLanguage answers
  --units N           the unit system that GetUnitSystem answers
  --fail SLOT=RC[@N]  SLOT returns RC without serving, on every call or only
                      on its N-th call (from 1); one fault per slot. For
                      GetLanguage, GetUnitSystem and GetColorCount, RC is the
                      value returned. SLOT is one of:
                        GetLanguage GetUnitSystem GetColorCount GetColorIDs
                        GetColor GetScriptPath GetMaterial SelectMaterial
                        SavePlyMaterial GetCurrentLaminate
                        GetCurrentLaminatePlies SaveLaminate
  --pick KIND=ID      queue an answer of the material picker: KIND is matrix,
                      fiber or ply (or 1, 2, 3); each kind takes its answers in
                      the order given; ID -1 closes the picker without a
                      choice. With no answer queued the picker is cancelled.
  --help              print this text

Every message line of the module is printed as it comes; after the operations
lamhost prints every save that the module made, with its values.

Exit status: 0 when the module loaded and the operations ran; 2 for a bad
command line, a module that is missing, cannot be loaded, has no ovra_dso_init
or a bad descriptor, a store that cannot be read or written, a script that is
not a readable regular file.
)";
}

} // namespace LamHost
