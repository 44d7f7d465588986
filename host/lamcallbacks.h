#pragma once

/* The boundary with the host application, in plain C so that a host written in
 * C can include it: the host's table of callbacks that it hands to lamSetup,
 * and the registration record that ovra_dso_init returns.
 *
 * Every buffer belongs to the module. Functions that fill buffers or save data
 * return 0 on success; texts are NUL-terminated when the host keeps to its
 * buffer (the module reads them with a bound all the same). */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Sizes of the text buffers that the module hands to the host. */
enum {
    lamTextBufferSize = 84,        /* colour and material names, material type, laminate name */
    lamScriptPathBufferSize = 256, /* GetScriptPath */
    lamPlyMaterialFactorCount = 5  /* E11, E22, NU12, NU23, G12 */
};

/* Results the module tells apart. */
enum {
    lamOk = 0,
    lamTsaiWuTypeRefused = 999 /* SaveLaminate: Tsai-Wu interaction type refused */
};

/* The first argument of SaveLaminate. */
enum {
    lamSaveCreate = 1, /* a laminate that was not loaded in this request */
    lamSaveModify = 2  /* the laminate loaded in this request */
};

typedef void (*lamUnusedFn)(void); /* never called */
typedef int (*lamGetLanguageFn)(void);
typedef int (*lamGetUnitSystemFn)(void);
typedef int (*lamGetColorCountFn)(void);
/* Fills as many ids as GetColorCount gave into a zero-filled array. */
typedef int (*lamGetColorIDsFn)(int *ids);
/* name: lamTextBufferSize bytes; rgb[0..2]: red, green, blue. */
typedef int (*lamGetColorFn)(int id, char *name, int *rgb);
/* path: lamScriptPathBufferSize bytes, first byte preset to 0; 0 = a path given. */
typedef int (*lamGetScriptPathFn)(char *path);
/* One line in the host's list window. */
typedef void (*lamShowMessageFn)(const char *line);
/* 0 = known; name and type: lamTextBufferSize bytes each. */
typedef int (*lamGetMaterialFn)(int id, char *name, char *type);
/* The host's picker; *id preset to -1; 0 with *id not -1 = chosen. */
typedef int (*lamSelectMaterialFn)(int kind, int *id);
/* factors: lamPlyMaterialFactorCount doubles. */
typedef int (*lamSavePlyMaterialFn)(int matrixMaterial, int fiberMaterial,
                                    double matrixFraction, double fiberFraction,
                                    int elasticTheory, double *factors,
                                    int halpinTsaiOption, int extraOption,
                                    double aspectRatio, double transverseRibbon,
                                    double ribbonLength, double ribbonWidth,
                                    double ribbonThickness, int thermalTheory);
/* name: lamTextBufferSize bytes; *plyCount: the count of the plies call. */
typedef int (*lamGetCurrentLaminateFn)(char *name, int *hostNumber, int *failureTheory,
                                       int *hostOption, float *referencePlane,
                                       float *bondingStress, float *tsaiWuCoefficient,
                                       double *nonStructuralMass, double *damping,
                                       double *referenceTemperature, int *plyCount);
/* Four zero-filled arrays of the ply count; entry 0 is the bottom ply. */
typedef int (*lamGetCurrentLaminatePliesFn)(float *thicknesses, float *angles,
                                            int *materials, int *colors);
/* saveMode: lamSaveCreate or lamSaveModify; four arrays of plyCount entries. */
typedef int (*lamSaveLaminateFn)(int saveMode, int failureTheory, int hostOption,
                                 float referencePlane, float bondingStress,
                                 int tsaiWuType, float tsaiWuCoefficient,
                                 double nonStructuralMass, double damping,
                                 double referenceTemperature, int plyCount,
                                 float *thicknesses, float *angles,
                                 int *materials, int *colors);

/* The host's table, sixteen slots in this order; the host keeps it alive for
 * the life of the process. */
typedef struct lamCallbacksImp {
    lamUnusedFn Unused00;
    lamGetLanguageFn GetLanguage;
    lamGetUnitSystemFn GetUnitSystem;
    lamUnusedFn Unused0C;
    lamGetColorCountFn GetColorCount;
    lamGetColorIDsFn GetColorIDs;
    lamGetColorFn GetColor;
    lamGetScriptPathFn GetScriptPath;
    lamShowMessageFn ShowMessage;
    lamUnusedFn Unused24;
    lamGetMaterialFn GetMaterial;
    lamSelectMaterialFn SelectMaterial;
    lamSavePlyMaterialFn SavePlyMaterial;
    lamGetCurrentLaminateFn GetCurrentLaminate;
    lamGetCurrentLaminatePliesFn GetCurrentLaminatePlies;
    lamSaveLaminateFn SaveLaminate;
} lamCallbacksImp;

typedef void (*lamSetupFn)(lamCallbacksImp *table);
typedef void (*lamModelerFn)(int create); /* 1 creates; anything else modifies */
typedef void (*lamSketcherFn)(void);
typedef void (*lamPlyMaterialFn)(void);

/* The module's entry functions, in this order. */
typedef struct lamEntryTable {
    lamSetupFn lamSetup;
    lamModelerFn lamModeler;
    lamSketcherFn lamSketcher;
    lamPlyMaterialFn lamPlyMaterial;
} lamEntryTable;

/* The record the host reads first. The two integers are fixed at 1 and 0;
 * their meaning lies with the host. */
typedef struct ModuleDescriptor {
    int first;
    int second;
    const lamEntryTable *entries;
} ModuleDescriptor;

#ifdef __cplusplus
#define LAM_STATIC_ASSERT(cond, text) static_assert(cond, text)
#else
#define LAM_STATIC_ASSERT(cond, text) _Static_assert(cond, text)
#endif

/* The host passes 32-bit ints, IEEE single floats and double doubles. */
LAM_STATIC_ASSERT(sizeof(int) == 4, "int must be 32 bits");
LAM_STATIC_ASSERT(sizeof(float) == 4, "float must be 32 bits");
LAM_STATIC_ASSERT(sizeof(double) == 8, "double must be 64 bits");
/* Sixteen slots of one code pointer each, no padding, in the order above. */
LAM_STATIC_ASSERT(sizeof(lamCallbacksImp) == 16 * sizeof(lamUnusedFn), "sixteen slots");
LAM_STATIC_ASSERT(offsetof(lamCallbacksImp, GetLanguage) == 1 * sizeof(lamUnusedFn), "slot 2");
LAM_STATIC_ASSERT(offsetof(lamCallbacksImp, GetColorCount) == 4 * sizeof(lamUnusedFn), "slot 5");
LAM_STATIC_ASSERT(offsetof(lamCallbacksImp, ShowMessage) == 8 * sizeof(lamUnusedFn), "slot 9");
LAM_STATIC_ASSERT(offsetof(lamCallbacksImp, GetMaterial) == 10 * sizeof(lamUnusedFn), "slot 11");
LAM_STATIC_ASSERT(offsetof(lamCallbacksImp, SaveLaminate) == 15 * sizeof(lamUnusedFn), "slot 16");
LAM_STATIC_ASSERT(sizeof(lamEntryTable) == 4 * sizeof(lamSetupFn), "four entry functions");
LAM_STATIC_ASSERT(offsetof(ModuleDescriptor, second) == sizeof(int), "two ints first");
LAM_STATIC_ASSERT(offsetof(ModuleDescriptor, entries) == 2 * sizeof(int), "then the table");

#undef LAM_STATIC_ASSERT

/* The module's exported functions (undecorated names). */
#if defined(__GNUC__)
#define LAM_EXPORT __attribute__((visibility("default")))
#else
#define LAM_EXPORT
#endif

/* The static descriptor; never null. */
LAM_EXPORT const ModuleDescriptor *ovra_dso_init(void);
/* Creates the one session with the table the first time; later calls do nothing. */
LAM_EXPORT void lamSetup(lamCallbacksImp *table);
LAM_EXPORT void lamModeler(int create);
LAM_EXPORT void lamSketcher(void);
LAM_EXPORT void lamPlyMaterial(void);

#ifdef __cplusplus
}
#endif
