#include "script/plymaterialcommands.h"

#include "core/plymaterial.h"
#include "host/materiallist.h"
#include "script/targetenv.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using LamHost::Slot;

// Sets the theory and option; every value not given stays (negative).
struct Elastic
{
    int theory = 1;
    int option = 0;
    float ratio = -1, transverse = -1, length = -1, width = -1, thickness = -1;
    float e11 = -1, e22 = -1, nu12 = -1, nu23 = -1, g12 = -1;

    void Apply(PlyMaterialCommands &commands) const
    {
        commands.SetElasticTheory(theory, option, ratio, transverse, length, width, thickness, e11, e22, nu12, nu23,
                                  g12);
    }
};

Elastic HalpinTsai(int option)
{
    Elastic e;
    e.option = option;
    e.ratio = 12.5f;
    e.transverse = 0.75f;
    e.length = 0.1f;
    e.width = 0.05f;
    e.thickness = 0.002f;
    e.e11 = 1.5f;
    e.e22 = 2.0f;
    e.nu12 = 0.3f;
    e.nu23 = 0.45f;
    e.g12 = 0.8f;
    return e;
}

Elastic Theory(int theory)
{
    Elastic e;
    e.theory = theory;
    return e;
}

const char *const kUnset = "40 percent of Matrix material: (not specified)\n"
                           "60 percent of Fiber material: (not specified)\n";

TEST(PlyMaterialCommandsTest, ListingsForEachTheoryAndOption)
{
    struct Row
    {
        std::function<void(PlyMaterialCommands &)> edit;
        std::string expected;
    };
    const auto with = [](Elastic e, int thermal = 1) {
        return [e, thermal](PlyMaterialCommands &c) {
            e.Apply(c);
            c.SetThermalTheory(thermal);
        };
    };
    const std::string levin = "Thermal properties theory: Levin\n";
    const Row rows[] = {
        {nullptr, kUnset + std::string("Elastic properties theory: Halpin-Tsai\n"
                                       "  Halpin-Tsai options: Continuous Fiber\n") + levin},
        {[](PlyMaterialCommands &c) {
             c.SetConstituent(false, 201, 0.35f);
             c.SetConstituent(true, 101, 0.65f);
             HalpinTsai(2).Apply(c);
             c.SetThermalTheory(2);
         },
         "35 percent of Matrix material: Epoxy resin\n"
         "65 percent of Fiber material: HS carbon fibre\n"
         "Elastic properties theory: Halpin-Tsai\n"
         "  Halpin-Tsai options: Discontinuous Fiber\n"
         "    Longitudinal aspect ratio = 12.5\n"
         "Thermal properties theory: Energy\n"},
        {with(HalpinTsai(3), 3), kUnset + std::string("Elastic properties theory: Halpin-Tsai\n"
                                                      "  Halpin-Tsai options: Continuous Ribbon\n"
                                                      "    Transverse ribbon dimension = 0.75\n"
                                                      "Thermal properties theory: Unknown ???\n")},
        {with(HalpinTsai(4)), kUnset + std::string("Elastic properties theory: Halpin-Tsai\n"
                                                   "  Halpin-Tsai options: Discontinuous Ribbon\n"
                                                   "    Ribbon dimensions:\n"
                                                   "      length: 0.1 mm\n"
                                                   "      width: 0.05 mm\n"
                                                   "      thickness: 0.002 mm\n") + levin},
        {with(HalpinTsai(5)), kUnset + std::string("Elastic properties theory: Halpin-Tsai\n"
                                                   "  Halpin-Tsai options: Particulate\n") + levin},
        {with(HalpinTsai(6)), kUnset + std::string("Elastic properties theory: Halpin-Tsai\n"
                                                   "  Halpin-Tsai options: User Defined\n"
                                                   "    Reinforcing factors:\n"
                                                   "      E11: 1.5\n"
                                                   "      E22: 2\n"
                                                   "      NU12: 0.3\n"
                                                   "      NU23: 0.45\n"
                                                   "      G12: 0.8\n") + levin},
        {with(HalpinTsai(7)), kUnset + std::string("Elastic properties theory: Halpin-Tsai\n"
                                                   "  Halpin-Tsai options: Unknown ???\n") + levin},
        {with(Theory(2)), kUnset + std::string("Elastic properties theory: Mechanics of Materials\n") + levin},
        {with(Theory(3)), kUnset + std::string("Elastic properties theory: Composite Cylinder Assemblage\n") + levin},
        {with(Theory(4)), kUnset + std::string("Elastic properties theory: Gough-Tangorra\n") + levin},
        {with(Theory(5)), kUnset + std::string("Elastic properties theory: Akasaka-Hirano\n") + levin},
        {with(Theory(6)), kUnset + std::string("Elastic properties theory: User-Defined\n") + levin},
        {with(Theory(7)), kUnset + std::string("Elastic properties theory: Unknown ???\n") + levin},
    };
    for (const Row &row : rows) {
        Request request(LamHost::DemoStore(), 'p');
        PlyMaterialCommands commands(request.Context(), Collect);
        if (row.edit)
            row.edit(commands);
        CommaLocale comma;
        ASSERT_EQ(CommaLocale::Sample(), "1.234,5");
        commands.List();
        EXPECT_EQ(TakeLines(), row.expected);
    }
}

TEST(PlyMaterialCommandsTest, SetConstituent)
{
    struct Row
    {
        bool fiber;
        int id;
        float fraction;
        bool accepted;
        int matrix, fibre; // afterwards
        double matrixFraction, fibreFraction;
    };
    const Row rows[] = {
        {true, 0, 0.7f, true, -1, -1, 0.4, 0.7f},  // fraction only
        {false, 0, -1.0f, true, -1, -1, 0.4, 0.6}, // nothing given
        {true, 102, -1.0f, true, -1, 102, 0.4, 0.6},
        {false, 202, 0.3f, true, 202, -1, 0.3f, 0.6},
        {true, 4242, 0.9f, false, -1, -1, 0.4, 0.6},
        {false, -5, 0.9f, false, -1, -1, 0.4, 0.6},
    };
    for (const Row &row : rows) {
        Request request(LamHost::DemoStore(), 'p');
        MaterialList *materials = request.Context()->GetMaterialList();
        ASSERT_FALSE(materials->Contains(row.id)) << "a new request has met no material";
        PlyMaterialCommands commands(request.Context(), Collect);
        EXPECT_EQ(commands.SetConstituent(row.fiber, row.id, row.fraction), row.accepted) << row.id;
        const PlyMaterial &m = request.Context()->GetPlyMaterial();
        EXPECT_EQ(m.MatrixMaterial(), row.matrix) << row.id;
        EXPECT_EQ(m.FiberMaterial(), row.fibre) << row.id;
        EXPECT_EQ(m.MatrixFraction(), row.matrixFraction) << row.id;
        EXPECT_EQ(m.FiberFraction(), row.fibreFraction) << row.id;
        EXPECT_EQ(materials->Contains(row.id), row.accepted && row.id != 0) << row.id;
        EXPECT_EQ(request.Store().Calls(Slot::GetMaterial), row.id != 0 ? 1 : 0) << row.id;
    }
}

TEST(PlyMaterialCommandsTest, SetElasticTheoryKeepsWhatIsNotGiven)
{
    Request request(LamHost::DemoStore(), 'p');
    PlyMaterialCommands commands(request.Context(), Collect);
    HalpinTsai(4).Apply(commands);
    Theory(2).Apply(commands); // what the script passes for any theory but Halpin-Tsai
    const PlyMaterial &m = request.Context()->GetPlyMaterial();
    EXPECT_EQ(m.ElasticTheory(), 2);
    EXPECT_EQ(m.HalpinTsaiOption(), 4);
    EXPECT_EQ(m.RibbonLength(), 0.1f);

    Elastic e = Theory(1);
    e.e22 = 3.0f; // one factor given: the other four stay
    e.width = 0.0f;
    e.Apply(commands);
    const double factors[] = {m.ReinforcingE11(), m.ReinforcingE22(), m.ReinforcingNU12(), m.ReinforcingNU23(),
                              m.ReinforcingG12()};
    EXPECT_EQ(std::vector<double>(factors, factors + 5), (std::vector<double>{1.5f, 3.0, 0.3f, 0.45f, 0.8f}));
    commands.List();
    EXPECT_EQ(CollectedLines().at(3), "  Halpin-Tsai options: Discontinuous Ribbon");
    EXPECT_EQ(CollectedLines().at(6), "      width: 0 mm");
    TakeLines();
}

} // namespace
