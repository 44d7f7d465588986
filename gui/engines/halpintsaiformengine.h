#pragma once

class AppContext;
class HalpinTsaiFormView;

// The logic of the Halpin-Tsai options dialog: it shows the Halpin-Tsai
// option and values of the context's current ply material and writes the
// accepted ones straight back into it.
class HalpinTsaiFormEngine
{
public:
    // Neither is owned; both must outlive the engine.
    HalpinTsaiFormEngine(HalpinTsaiFormView *view, AppContext *context);
    ~HalpinTsaiFormEngine();
    HalpinTsaiFormEngine(const HalpinTsaiFormEngine &) = delete;
    HalpinTsaiFormEngine &operator=(const HalpinTsaiFormEngine &) = delete;

    // Fills the view from the record, with the length unit beside the ribbon fields.
    void Initialize();
    // Checks every value, whether or not its field is enabled, writing each one
    // that passes. 0 when all passed; 1 after one warning, with the values
    // before the refused one already written.
    int Done();

private:
    HalpinTsaiFormView *view_;
    AppContext *context_;
};
