#include "host/lamcallbacks.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

extern "C" {
lamCallbacksImp *CHostTable(void);
size_t CTableSize(void);
size_t CSlotOffset(int slot);
size_t CDescriptorSize(void);
size_t CEntryTableSize(void);
int CLastSaveMode(void);
double CLastDamping(void);
float CLastAngle(void);
int CLastPlyCount(void);
}

namespace {

TEST(Callbacks, LayoutAgreesBetweenCAndCpp)
{
    using Fn = void (*)(void);
    EXPECT_EQ(CTableSize(), sizeof(lamCallbacksImp));
    EXPECT_EQ(CDescriptorSize(), sizeof(ModuleDescriptor));
    EXPECT_EQ(CEntryTableSize(), sizeof(lamEntryTable));
    for (int slot = 0; slot < 16; ++slot)
        EXPECT_EQ(CSlotOffset(slot), slot * sizeof(Fn)) << "slot " << slot + 1;
}

TEST(Callbacks, CHostTableCalledFromCpp)
{
    const lamCallbacksImp *t = CHostTable();
    EXPECT_EQ(t->Unused00, nullptr);
    EXPECT_EQ(t->GetLanguage(), 6);
    EXPECT_EQ(t->GetUnitSystem(), 17);
    ASSERT_EQ(t->GetColorCount(), 2);
    int ids[2] = {0, 0};
    EXPECT_EQ(t->GetColorIDs(ids), 0);
    EXPECT_EQ(ids[0], 7);
    EXPECT_EQ(ids[1], 3);
    char name[lamTextBufferSize] = {};
    int rgb[3] = {};
    EXPECT_EQ(t->GetColor(7, name, rgb), 0);
    EXPECT_STREQ(name, "c-colour");
    EXPECT_EQ(rgb[2], 9);

    // Mixed int, float and double arguments arrive in place.
    float thick[2] = {0.1f, 0.2f};
    float angles[2] = {45.0f, -45.0f};
    int materials[2] = {1, 2};
    int colors[2] = {3, 4};
    EXPECT_EQ(t->SaveLaminate(lamSaveModify, 3, 0, -0.5f, 1.0f, 2, 0.25f, 1.5, 0.03125, 20.0, 2,
                              thick, angles, materials, colors),
              lamTsaiWuTypeRefused);
    EXPECT_EQ(CLastSaveMode(), lamSaveModify);
    EXPECT_EQ(CLastDamping(), 0.03125);
    EXPECT_EQ(CLastPlyCount(), 2);
    EXPECT_EQ(CLastAngle(), -45.0f);
}

} // namespace
