#pragma once

#include <string>

class AppContext;
class PlyMaterial;
class PlyMaterialFormView;

// The logic of the ply material dialog: it shows the context's current ply
// material, runs the host's picker for the matrix and the fibre, opens the
// Halpin-Tsai options and writes what the user accepts into the record.
class PlyMaterialFormEngine
{
public:
    // Neither is owned; both must outlive the engine.
    PlyMaterialFormEngine(PlyMaterialFormView *view, AppContext *context);
    ~PlyMaterialFormEngine();
    PlyMaterialFormEngine(const PlyMaterialFormEngine &) = delete;
    PlyMaterialFormEngine &operator=(const PlyMaterialFormEngine &) = delete;

    // Fills the view from the record; a material the list does not hold shows as " ".
    void Initialize();
    // Runs the host's picker for a MaterialSelectKind (matrix or fibre) and shows
    // the chosen material's name; the record is not touched.
    void SelectMaterial(int kind);
    // Checks the entries and writes them into the record. 0 when accepted; 1
    // after one warning (what was written before the refusal stays).
    int Done();
    // Stores the id of the first material, in id order, whose name is exactly
    // name. 0 when found; 1 after the "not selected" warning.
    int CheckMatrixMaterial(std::string name);
    int CheckFiberMaterial(std::string name);
    // Runs the Halpin-Tsai options dialog; the record is put back as it was
    // unless that dialog was accepted.
    void HalpinTsaiOptions();

private:
    // Stores with store the id of the first held material called name; 1
    // after the warning when there is none.
    int CheckMaterial(const std::string &name, void (PlyMaterial::*store)(int), const char *warning);

    PlyMaterialFormView *view_;
    AppContext *context_;
};
