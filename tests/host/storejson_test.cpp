#include "tools/lamhost/storejson.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <random>
#include <string>

namespace {

using LamHost::StoreData;

StoreData RoundTrip(const StoreData &d)
{
    StoreData back;
    std::string error;
    EXPECT_TRUE(LamHost::ReadStoreJson(LamHost::WriteStoreJson(d), back, error)) << error;
    return back;
}

TEST(StoreJson, DemoStoreRoundTrips)
{
    const StoreData demo = LamHost::DemoStore();
    const StoreData back = RoundTrip(demo);
    EXPECT_EQ(back, demo);
    EXPECT_EQ(LamHost::WriteStoreJson(back), LamHost::WriteStoreJson(demo));
}

TEST(StoreJson, FloatsAreWrittenShortWhenThatIsExact)
{
    StoreData d;
    d.laminates.resize(1);
    d.laminates[0].referencePlane = 0.1f;
    d.laminates[0].damping = 0.1;
    d.laminates[0].bondingStress = -0.0f;
    const std::string text = LamHost::WriteStoreJson(d);
    EXPECT_NE(text.find("\"referencePlane\": 0.1,"), std::string::npos) << text;
    EXPECT_NE(text.find("\"damping\": 0.1,"), std::string::npos) << text;
    EXPECT_EQ(RoundTrip(d), d);
}

// Random bit patterns cover subnormals, extremes and values whose shortest
// text is ambiguous between float and double; NaN comes back as the quiet NaN.
TEST(StoreJson, RandomFloatsAndDoublesRoundTripBitExactly)
{
    std::mt19937_64 rng(20240611);
    auto randomFloat = [&rng] {
        const float f = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
        return std::isnan(f) ? std::numeric_limits<float>::quiet_NaN() : f;
    };
    auto randomDouble = [&rng] {
        const double v = std::bit_cast<double>(rng());
        return std::isnan(v) ? std::numeric_limits<double>::quiet_NaN() : v;
    };
    for (int round = 0; round < 50; ++round) {
        StoreData d;
        d.laminates.resize(3);
        for (LamHost::HostLaminate &l : d.laminates) {
            l.referencePlane = randomFloat();
            l.bondingStress = randomFloat();
            l.tsaiWuCoefficient = randomFloat();
            l.nonStructuralMass = randomDouble();
            l.damping = randomDouble();
            l.referenceTemperature = randomDouble();
            for (int i = 0; i < 40; ++i)
                l.plies.push_back({randomFloat(), randomFloat(), i, -i});
        }
        d.plyMaterials.resize(1);
        LamHost::HostPlyMaterial &m = d.plyMaterials[0];
        for (double &f : m.factors)
            f = randomDouble();
        m.matrixFraction = randomDouble();
        m.ribbonWidth = randomDouble();
        ASSERT_EQ(RoundTrip(d), d) << LamHost::WriteStoreJson(d);
    }
}

TEST(StoreJson, SpecialValues)
{
    StoreData d;
    d.laminates.resize(1);
    LamHost::HostLaminate &l = d.laminates[0];
    l.referencePlane = std::numeric_limits<float>::infinity();
    l.bondingStress = -std::numeric_limits<float>::infinity();
    l.tsaiWuCoefficient = std::numeric_limits<float>::denorm_min();
    l.damping = std::numeric_limits<double>::quiet_NaN();
    l.nonStructuralMass = -0.0;
    l.referenceTemperature = std::numeric_limits<double>::max();
    l.plies = {{std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest(), 0, 0}};
    const std::string text = LamHost::WriteStoreJson(d);
    EXPECT_NE(text.find("\"Infinity\""), std::string::npos);
    EXPECT_NE(text.find("\"NaN\""), std::string::npos);
    EXPECT_EQ(RoundTrip(d), d);
}

TEST(StoreJson, MissingKeysKeepDefaults)
{
    StoreData d;
    std::string error;
    ASSERT_TRUE(LamHost::ReadStoreJson(R"({"laminates": [{"plies": [{}]}], "current": 0})", d, error))
        << error;
    EXPECT_EQ(d.unitSystem, 1);
    ASSERT_EQ(d.laminates.size(), 1u);
    EXPECT_EQ(d.laminates[0].failureTheory, 3);
    EXPECT_EQ(d.laminates[0].plies.size(), 1u);
}

TEST(StoreJson, ErrorsNameTheValue)
{
    struct Row { const char *text; const char *error; };
    const Row rows[] = {
        {"[]", "store: expected an object"},
        {"{\"colours\": []}", "colours: unknown key"},
        {"{\"language\": 1.5}", "language: expected an integer"},
        {"{\"unitSystem\": 3000000000}", "unitSystem: integer out of range"},
        {"{\"unitSystem\": -3000000000}", "unitSystem: integer out of range"},
        {"{\"colors\": [{\"id\": 1, \"rgb\": [1, 2]}]}", "colors[0].rgb: expected three integers"},
        {"{\"materials\": [{\"id\": 1, \"name\": 5}]}", "materials[0].name: expected a string"},
        {"{\"laminates\": [{\"plies\": [{\"angle\": \"x\"}]}]}",
         "laminates[0].plies[0].angle: expected a number"},
        {"{\"laminates\": [{\"plies\": [{\"thickness\": 1e39}]}]}",
         "laminates[0].plies[0].thickness: number out of float range"},
        {"{\"laminates\": [{\"plies\": {}}]}", "laminates[0].plies: expected an array"},
        {"{\"plyMaterials\": [{\"factors\": [1, 2, 3]}]}", "plyMaterials[0].factors: expected five numbers"},
        {"{\"current\": 0}", "current: not -1 or the index of a laminate"},
        {"{\"current\": -2, \"laminates\": [{}]}", "current: not -1 or the index of a laminate"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.text);
        StoreData d;
        std::string error;
        EXPECT_FALSE(LamHost::ReadStoreJson(r.text, d, error));
        EXPECT_EQ(error, r.error);
    }
    StoreData d;
    std::string error;
    EXPECT_FALSE(LamHost::ReadStoreJson("{\"language\": ", d, error));
    EXPECT_NE(error.find("parse error"), std::string::npos) << error;
}

TEST(StoreJson, Files)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("storejson_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "store.json").string();
    std::string error;
    ASSERT_TRUE(LamHost::SaveStoreFile(path, LamHost::DemoStore(), error)) << error;
    StoreData back;
    ASSERT_TRUE(LamHost::LoadStoreFile(path, back, error)) << error;
    EXPECT_EQ(back, LamHost::DemoStore());
    EXPECT_FALSE(LamHost::LoadStoreFile((dir / "missing.json").string(), back, error));
    EXPECT_EQ(error, (dir / "missing.json").string() + ": No such file or directory");
    EXPECT_FALSE(LamHost::SaveStoreFile((dir / "no" / "such.json").string(), back, error));
    std::filesystem::remove_all(dir);
}

} // namespace
