/* A stand-in module for the lamhost tests: each entry calls a few callbacks
 * and reports what it got, one "fake: " line each.
 *
 * Built several times: FAKE_NO_INIT leaves out ovra_dso_init; FAKE_BAD 1 gives
 * the descriptor wrong integers, 2 a null entry function, 3 returns null. */

#include "host/lamcallbacks.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

static lamCallbacksImp *host;
static int setups;

static void Say(const char *format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (host && host->ShowMessage)
        host->ShowMessage(line);
}

void lamSetup(lamCallbacksImp *table)
{
    ++setups;
    if (!host)
        host = table;
    Say("fake: setup %d", setups);
}

static void Create(void)
{
    float thickness[2] = {0.25f, 0.5f};
    float angle[2] = {0.0f, 90.0f};
    int material[2] = {301, 302};
    int color[2] = {2, 3};
    Say("fake: save returns %d",
        host->SaveLaminate(lamSaveCreate, 1, 0, -0.375f, 10.0f, 1, -0.5f, 0.0, 0.0, 20.0, 2,
                           thickness, angle, material, color));
}

/* Loads the current laminate and saves it back unchanged. */
static void Modify(void)
{
    char name[lamTextBufferSize];
    int hostNumber = 0, failureTheory = 0, hostOption = 0, n = 0;
    float plane = 0, bonding = 0, coefficient = 0;
    double mass = 0, damping = 0, temperature = 0;
    int rc = host->GetCurrentLaminate(name, &hostNumber, &failureTheory, &hostOption, &plane,
                                      &bonding, &coefficient, &mass, &damping, &temperature, &n);
    if (rc != 0) {
        Say("fake: GetCurrentLaminate returns %d", rc);
        return;
    }
    float *thickness = calloc((size_t)n + 1, sizeof *thickness);
    float *angle = calloc((size_t)n + 1, sizeof *angle);
    int *material = calloc((size_t)n + 1, sizeof *material);
    int *color = calloc((size_t)n + 1, sizeof *color);
    rc = n > 0 ? host->GetCurrentLaminatePlies(thickness, angle, material, color) : 0;
    if (rc != 0) {
        Say("fake: GetCurrentLaminatePlies returns %d", rc);
    } else {
        Say("fake: loaded \"%.*s\" with %d plies", lamTextBufferSize, name, n);
        Say("fake: save returns %d",
            host->SaveLaminate(lamSaveModify, failureTheory, hostOption, plane, bonding, 1,
                               coefficient, mass, damping, temperature, n, thickness, angle,
                               material, color));
    }
    free(thickness);
    free(angle);
    free(material);
    free(color);
}

void lamModeler(int create)
{
    char path[lamScriptPathBufferSize] = {0};
    Say("fake: modeler %d", create);
    if (host->GetScriptPath(path) == 0)
        Say("fake: script %.*s", lamScriptPathBufferSize, path);
    else
        Say("fake: no script");
    Say("fake: language %d units %d", host->GetLanguage(), host->GetUnitSystem());
    if (create == 1)
        Create();
    else
        Modify();
}

void lamSketcher(void)
{
    Say("fake: sketcher, %d colours", host->GetColorCount());
}

void lamPlyMaterial(void)
{
    int matrix = -1, fiber = -1;
    const int matrixRc = host->SelectMaterial(1, &matrix);
    const int fiberRc = host->SelectMaterial(2, &fiber);
    Say("fake: picked matrix %d (rc %d), fibre %d (rc %d)", matrix, matrixRc, fiber, fiberRc);
    if (matrixRc != 0 || fiberRc != 0 || matrix == -1 || fiber == -1)
        return;
    double factors[lamPlyMaterialFactorCount] = {1.0, 1.0, 1.0, 1.0, 1.0};
    Say("fake: ply material save returns %d",
        host->SavePlyMaterial(matrix, fiber, 0.4, 0.6, 1, factors, 1, 0, 0.5, 0.5, 0.01, 0.01,
                              0.005, 1));
}

#ifndef FAKE_NO_INIT
#ifndef FAKE_BAD
#define FAKE_BAD 0
#endif

static const lamEntryTable entries = {
    lamSetup, lamModeler, FAKE_BAD == 2 ? NULL : lamSketcher, lamPlyMaterial};
static const ModuleDescriptor descriptor = {1, FAKE_BAD == 1 ? 7 : 0, &entries};

const ModuleDescriptor *ovra_dso_init(void)
{
    return FAKE_BAD == 3 ? NULL : &descriptor;
}
#endif
