/* A host written in C: proves that the callback header is plain C and that a
 * table filled on the C side is called correctly from C++. */
#include "host/lamcallbacks.h"

#include <string.h>

static int lastMode;
static double lastDamping;
static float lastAngle;
static int lastPlyCount;

static int CGetLanguage(void) { return 6; }
static int CGetUnitSystem(void) { return 17; }
static int CGetColorCount(void) { return 2; }

static int CGetColorIDs(int *ids)
{
    ids[0] = 7;
    ids[1] = 3;
    return 0;
}

static int CGetColor(int id, char *name, int *rgb)
{
    strcpy(name, "c-colour");
    rgb[0] = id;
    rgb[1] = id + 1;
    rgb[2] = id + 2;
    return 0;
}

static int CSaveLaminate(int saveMode, int failureTheory, int hostOption, float referencePlane,
                         float bondingStress, int tsaiWuType, float tsaiWuCoefficient,
                         double nonStructuralMass, double damping, double referenceTemperature,
                         int plyCount, float *thicknesses, float *angles, int *materials,
                         int *colors)
{
    (void)failureTheory; (void)hostOption; (void)referencePlane; (void)bondingStress;
    (void)tsaiWuType; (void)tsaiWuCoefficient; (void)nonStructuralMass;
    (void)referenceTemperature; (void)thicknesses; (void)materials; (void)colors;
    lastMode = saveMode;
    lastDamping = damping;
    lastPlyCount = plyCount;
    lastAngle = plyCount > 0 ? angles[plyCount - 1] : 0.0f;
    return lamTsaiWuTypeRefused;
}

static lamCallbacksImp cTable = {
    0, CGetLanguage, CGetUnitSystem, 0, CGetColorCount, CGetColorIDs, CGetColor,
    0, 0, 0, 0, 0, 0, 0, 0, CSaveLaminate,
};

lamCallbacksImp *CHostTable(void) { return &cTable; }

/* What the C compiler makes of the layout, for comparison with C++. */
size_t CTableSize(void) { return sizeof(lamCallbacksImp); }
size_t CSlotOffset(int slot)
{
    static const size_t offsets[16] = {
        offsetof(lamCallbacksImp, Unused00), offsetof(lamCallbacksImp, GetLanguage),
        offsetof(lamCallbacksImp, GetUnitSystem), offsetof(lamCallbacksImp, Unused0C),
        offsetof(lamCallbacksImp, GetColorCount), offsetof(lamCallbacksImp, GetColorIDs),
        offsetof(lamCallbacksImp, GetColor), offsetof(lamCallbacksImp, GetScriptPath),
        offsetof(lamCallbacksImp, ShowMessage), offsetof(lamCallbacksImp, Unused24),
        offsetof(lamCallbacksImp, GetMaterial), offsetof(lamCallbacksImp, SelectMaterial),
        offsetof(lamCallbacksImp, SavePlyMaterial), offsetof(lamCallbacksImp, GetCurrentLaminate),
        offsetof(lamCallbacksImp, GetCurrentLaminatePlies), offsetof(lamCallbacksImp, SaveLaminate),
    };
    return offsets[slot];
}
size_t CDescriptorSize(void) { return sizeof(ModuleDescriptor); }
size_t CEntryTableSize(void) { return sizeof(lamEntryTable); }

int CLastSaveMode(void) { return lastMode; }
double CLastDamping(void) { return lastDamping; }
float CLastAngle(void) { return lastAngle; }
int CLastPlyCount(void) { return lastPlyCount; }
