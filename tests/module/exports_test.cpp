// What corvane.so exports: the five entry functions and the members of
// Session, nothing else. Read from the module's ELF dynamic symbol table.

#include <gtest/gtest.h>

#include <cstring>
#include <cxxabi.h>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Demangle(const char *name)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void *)> text(abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
    return status == 0 ? text.get() : name;
}

template <class T>
bool ReadAt(const std::vector<char> &file, size_t offset, T &out)
{
    if (offset > file.size() || file.size() - offset < sizeof out)
        return false;
    std::memcpy(&out, file.data() + offset, sizeof out);
    return true;
}

// The demangled names of the defined global and weak symbols of the dynamic
// symbol table, as nm -D --defined-only lists them; false when the file is not
// a 64-bit ELF file with such a table.
bool DefinedDynamicSymbols(const std::string &path, std::set<std::string> &names)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Elf64_Ehdr header;
    if (!ReadAt(file, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0
        || header.e_ident[EI_CLASS] != ELFCLASS64)
        return false;
    for (size_t i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr table, strings;
        if (!ReadAt(file, header.e_shoff + i * header.e_shentsize, table))
            return false;
        if (table.sh_type != SHT_DYNSYM)
            continue;
        if (!ReadAt(file, header.e_shoff + table.sh_link * header.e_shentsize, strings) || table.sh_entsize == 0)
            return false;
        for (size_t k = 1; k < table.sh_size / table.sh_entsize; ++k) {
            Elf64_Sym symbol;
            if (!ReadAt(file, table.sh_offset + k * table.sh_entsize, symbol) || symbol.st_name >= strings.sh_size)
                return false;
            const int binding = ELF64_ST_BIND(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK))
                continue;
            const size_t at = strings.sh_offset + symbol.st_name;
            if (at >= file.size() || !std::memchr(file.data() + at, '\0', file.size() - at))
                return false;
            names.insert(Demangle(file.data() + at));
        }
        return true;
    }
    return false;
}

TEST(ExportsTest, OnlyTheEntryFunctionsAndSessionAreExported)
{
    std::set<std::string> names;
    ASSERT_TRUE(DefinedDynamicSymbols(CORVANE_MODULE_PATH, names));
    const std::set<std::string> expected = {
        "ovra_dso_init",
        "lamSetup",
        "lamModeler",
        "lamSketcher",
        "lamPlyMaterial",
        "Session::Session(lamCallbacksImp*)",
        "Session::~Session()",
        "Session::Name() const",
        "Session::Label() const",
        "Session::Version() const",
        "Session::Modeler(bool)",
        "Session::Sketcher()",
        "Session::CreatePlyMaterial()",
        "Session::Prepare()",
        "Session::Cleanup()",
    };
    EXPECT_EQ(names, expected);
}

} // namespace
