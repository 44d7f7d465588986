#include "tools/lamhost/storejson.h"

#include "tools/lamhost/inputfile.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>

namespace LamHost {

using json = nlohmann::ordered_json;

namespace {

// Declared up front so that the vector templates find every record's overload.
json ToJson(const HostColor &c);
json ToJson(const HostMaterial &m);
json ToJson(const HostPly &p);
json ToJson(const HostLaminate &l);
json ToJson(const HostPlyMaterial &m);
void Read(const json &j, const std::string &path, HostColor &c);
void Read(const json &j, const std::string &path, HostMaterial &m);
void Read(const json &j, const std::string &path, HostPly &p);
void Read(const json &j, const std::string &path, HostLaminate &l);
void Read(const json &j, const std::string &path, HostPlyMaterial &m);
template <class T>
void Read(const json &j, const std::string &path, std::vector<T> &out);

// ---- writing

json NonFinite(double v)
{
    return std::isnan(v) ? "NaN" : (v > 0 ? "Infinity" : "-Infinity");
}

json Number(double v)
{
    return std::isfinite(v) ? json(v) : NonFinite(v);
}

// The shortest text of the float, when it reads back as the same float through
// a double; otherwise the float's exact double value (longer but always exact).
json Number(float v)
{
    if (!std::isfinite(v))
        return NonFinite(v);
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text - 1, v).ptr;
    *end = '\0';
    const double shortest = std::strtod(text, nullptr);
    const float back = static_cast<float>(shortest);
    return std::memcmp(&back, &v, sizeof v) == 0 ? json(shortest) : json(static_cast<double>(v));
}

json ToJson(const HostColor &c)
{
    return {{"id", c.id}, {"name", c.name}, {"rgb", {c.red, c.green, c.blue}}};
}

json ToJson(const HostMaterial &m)
{
    return {{"id", m.id}, {"name", m.name}, {"type", m.type}};
}

json ToJson(const HostPly &p)
{
    return {{"thickness", Number(p.thickness)}, {"angle", Number(p.angle)},
            {"material", p.material}, {"color", p.color}};
}

template <class T>
json ToJson(const std::vector<T> &items)
{
    json a = json::array();
    for (const T &item : items)
        a.push_back(ToJson(item));
    return a;
}

json ToJson(const HostLaminate &l)
{
    return {{"name", l.name},
            {"hostNumber", l.hostNumber},
            {"failureTheory", l.failureTheory},
            {"hostOption", l.hostOption},
            {"referencePlane", Number(l.referencePlane)},
            {"bondingStress", Number(l.bondingStress)},
            {"tsaiWuType", l.tsaiWuType},
            {"tsaiWuCoefficient", Number(l.tsaiWuCoefficient)},
            {"nonStructuralMass", Number(l.nonStructuralMass)},
            {"damping", Number(l.damping)},
            {"referenceTemperature", Number(l.referenceTemperature)},
            {"plies", ToJson(l.plies)}};
}

json ToJson(const HostPlyMaterial &m)
{
    json factors = json::array();
    for (double f : m.factors)
        factors.push_back(Number(f));
    return {{"matrixMaterial", m.matrixMaterial},
            {"fiberMaterial", m.fiberMaterial},
            {"matrixFraction", Number(m.matrixFraction)},
            {"fiberFraction", Number(m.fiberFraction)},
            {"elasticTheory", m.elasticTheory},
            {"factors", factors},
            {"halpinTsaiOption", m.halpinTsaiOption},
            {"extraOption", m.extraOption},
            {"aspectRatio", Number(m.aspectRatio)},
            {"transverseRibbon", Number(m.transverseRibbon)},
            {"ribbonLength", Number(m.ribbonLength)},
            {"ribbonWidth", Number(m.ribbonWidth)},
            {"ribbonThickness", Number(m.ribbonThickness)},
            {"thermalTheory", m.thermalTheory}};
}

// ---- reading: a wrong value throws ReadError, caught in ReadStoreJson

struct ReadError
{
    std::string text;
};

[[noreturn]] void Fail(const std::string &path, const char *what)
{
    throw ReadError{path + ": " + what};
}

std::string Join(const std::string &path, const std::string &key)
{
    return path.empty() ? key : path + "." + key;
}

void Read(const json &j, const std::string &path, int &out)
{
    if (j.is_number_unsigned()) {
        if (j.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<int>::max()))
            Fail(path, "integer out of range");
    } else if (j.is_number_integer()) {
        const std::int64_t v = j.get<std::int64_t>();
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
            Fail(path, "integer out of range");
    } else {
        Fail(path, "expected an integer");
    }
    out = j.get<int>();
}

double ReadReal(const json &j, const std::string &path)
{
    if (j.is_number())
        return j.get<double>();
    if (j.is_string()) {
        const std::string &s = j.get_ref<const std::string &>();
        if (s == "NaN")
            return std::numeric_limits<double>::quiet_NaN();
        if (s == "Infinity")
            return std::numeric_limits<double>::infinity();
        if (s == "-Infinity")
            return -std::numeric_limits<double>::infinity();
    }
    Fail(path, "expected a number");
}

void Read(const json &j, const std::string &path, double &out)
{
    out = ReadReal(j, path);
}

void Read(const json &j, const std::string &path, float &out)
{
    const double v = ReadReal(j, path);
    const double max = std::numeric_limits<float>::max();
    // The shortest text of the largest float reads as a double just above it.
    const double roundsToMax = 0x1.ffffffp127;
    if (std::isfinite(v) && std::fabs(v) >= roundsToMax)
        Fail(path, "number out of float range");
    out = std::fabs(v) > max && std::isfinite(v) ? static_cast<float>(std::copysign(max, v))
                                                 : static_cast<float>(v);
}

void Read(const json &j, const std::string &path, std::string &out)
{
    if (!j.is_string())
        Fail(path, "expected a string");
    out = j.get<std::string>();
}

// Fails on any key that is not one of keys: a misspelt key would otherwise be
// silently ignored.
void CheckKeys(const json &j, const std::string &path, std::initializer_list<const char *> keys)
{
    if (!j.is_object())
        Fail(path.empty() ? "store" : path, "expected an object");
    for (auto it = j.begin(); it != j.end(); ++it) {
        bool known = false;
        for (const char *k : keys)
            known = known || it.key() == k;
        if (!known)
            Fail(Join(path, it.key()), "unknown key");
    }
}

// Reads obj[key] into out when present; an absent key keeps out's default.
template <class T>
void Field(const json &obj, const std::string &path, const char *key, T &out)
{
    const auto it = obj.find(key);
    if (it != obj.end())
        Read(*it, Join(path, key), out);
}

template <class T>
void Read(const json &j, const std::string &path, std::vector<T> &out)
{
    if (!j.is_array())
        Fail(path, "expected an array");
    out.assign(j.size(), T{});
    for (size_t i = 0; i < j.size(); ++i)
        Read(j[i], path + "[" + std::to_string(i) + "]", out[i]);
}

void Read(const json &j, const std::string &path, HostColor &c)
{
    CheckKeys(j, path, {"id", "name", "rgb"});
    Field(j, path, "id", c.id);
    Field(j, path, "name", c.name);
    std::vector<int> rgb = {0, 0, 0};
    Field(j, path, "rgb", rgb);
    if (rgb.size() != 3)
        Fail(Join(path, "rgb"), "expected three integers");
    c.red = rgb[0];
    c.green = rgb[1];
    c.blue = rgb[2];
}

void Read(const json &j, const std::string &path, HostMaterial &m)
{
    CheckKeys(j, path, {"id", "name", "type"});
    Field(j, path, "id", m.id);
    Field(j, path, "name", m.name);
    Field(j, path, "type", m.type);
}

void Read(const json &j, const std::string &path, HostPly &p)
{
    CheckKeys(j, path, {"thickness", "angle", "material", "color"});
    Field(j, path, "thickness", p.thickness);
    Field(j, path, "angle", p.angle);
    Field(j, path, "material", p.material);
    Field(j, path, "color", p.color);
}

void Read(const json &j, const std::string &path, HostLaminate &l)
{
    CheckKeys(j, path,
              {"name", "hostNumber", "failureTheory", "hostOption", "referencePlane",
               "bondingStress", "tsaiWuType", "tsaiWuCoefficient", "nonStructuralMass", "damping",
               "referenceTemperature", "plies"});
    Field(j, path, "name", l.name);
    Field(j, path, "hostNumber", l.hostNumber);
    Field(j, path, "failureTheory", l.failureTheory);
    Field(j, path, "hostOption", l.hostOption);
    Field(j, path, "referencePlane", l.referencePlane);
    Field(j, path, "bondingStress", l.bondingStress);
    Field(j, path, "tsaiWuType", l.tsaiWuType);
    Field(j, path, "tsaiWuCoefficient", l.tsaiWuCoefficient);
    Field(j, path, "nonStructuralMass", l.nonStructuralMass);
    Field(j, path, "damping", l.damping);
    Field(j, path, "referenceTemperature", l.referenceTemperature);
    Field(j, path, "plies", l.plies);
}

void Read(const json &j, const std::string &path, HostPlyMaterial &m)
{
    CheckKeys(j, path,
              {"matrixMaterial", "fiberMaterial", "matrixFraction", "fiberFraction",
               "elasticTheory", "factors", "halpinTsaiOption", "extraOption", "aspectRatio",
               "transverseRibbon", "ribbonLength", "ribbonWidth", "ribbonThickness",
               "thermalTheory"});
    Field(j, path, "matrixMaterial", m.matrixMaterial);
    Field(j, path, "fiberMaterial", m.fiberMaterial);
    Field(j, path, "matrixFraction", m.matrixFraction);
    Field(j, path, "fiberFraction", m.fiberFraction);
    Field(j, path, "elasticTheory", m.elasticTheory);
    std::vector<double> factors(m.factors.begin(), m.factors.end());
    Field(j, path, "factors", factors);
    if (factors.size() != m.factors.size())
        Fail(Join(path, "factors"), "expected five numbers");
    std::copy(factors.begin(), factors.end(), m.factors.begin());
    Field(j, path, "halpinTsaiOption", m.halpinTsaiOption);
    Field(j, path, "extraOption", m.extraOption);
    Field(j, path, "aspectRatio", m.aspectRatio);
    Field(j, path, "transverseRibbon", m.transverseRibbon);
    Field(j, path, "ribbonLength", m.ribbonLength);
    Field(j, path, "ribbonWidth", m.ribbonWidth);
    Field(j, path, "ribbonThickness", m.ribbonThickness);
    Field(j, path, "thermalTheory", m.thermalTheory);
}

void Read(const json &j, StoreData &d)
{
    CheckKeys(j, "",
              {"language", "unitSystem", "colors", "materials", "laminates", "current",
               "plyMaterials"});
    Field(j, "", "language", d.language);
    Field(j, "", "unitSystem", d.unitSystem);
    Field(j, "", "colors", d.colors);
    Field(j, "", "materials", d.materials);
    Field(j, "", "laminates", d.laminates);
    Field(j, "", "current", d.current);
    Field(j, "", "plyMaterials", d.plyMaterials);
    if (d.current < -1 || d.current >= static_cast<int>(d.laminates.size()))
        Fail("current", "not -1 or the index of a laminate");
}

} // namespace

bool ReadStoreJson(const std::string &text, StoreData &out, std::string &error)
{
    json j;
    try {
        j = json::parse(text);
    } catch (const json::parse_error &e) {
        error = e.what();
        return false;
    }
    StoreData d;
    try {
        Read(j, d);
    } catch (const ReadError &e) {
        error = e.text;
        return false;
    }
    out = std::move(d);
    return true;
}

std::string WriteStoreJson(const StoreData &d)
{
    const json j = {{"language", d.language},
                    {"unitSystem", d.unitSystem},
                    {"colors", ToJson(d.colors)},
                    {"materials", ToJson(d.materials)},
                    {"laminates", ToJson(d.laminates)},
                    {"current", d.current},
                    {"plyMaterials", ToJson(d.plyMaterials)}};
    return j.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

bool LoadStoreFile(const std::string &path, StoreData &out, std::string &error)
{
    std::string text;
    if (!ReadRegularFile(path, kMaxStoreFileBytes, text, error) || !ReadStoreJson(text, out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool SaveStoreFile(const std::string &path, const StoreData &data, std::string &error)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << WriteStoreJson(data);
    file.close();
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace LamHost
