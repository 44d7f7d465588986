#pragma once

// A fake view of the ply data dialog: menus as a combo box holds them (the
// first entry added becomes current), numbers as selected or typed, warnings
// recorded as "title: text".

#include "core/selection.h"
#include "gui/engines/plydataformview.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct FakeMenu
{
    std::vector<std::string> items;
    int current = -1;

    void Set(const std::string &text, bool select)
    {
        auto it = std::find(items.begin(), items.end(), text);
        if (it == items.end()) {
            items.push_back(text);
            it = items.end() - 1;
            current = std::max(current, 0);
        }
        if (select)
            current = static_cast<int>(it - items.begin());
    }
    std::string Text() const { return current < 0 ? "" : items[current]; }
};

struct FakePlyView : PlyDataFormView
{
    // What Exec does; without it the dialog is cancelled.
    std::function<bool(bool newPly, const Selection &)> exec;
    std::string init;
    FakeMenu materials, colors;
    float thickness = 0, angle = 0;
    std::vector<float> thicknesses, angles; // the menus' entries
    std::vector<std::string> warnings;

    bool Exec(bool newPly, const Selection &selection) override { return exec && exec(newPly, selection); }
    void InitWidgets(bool newPly, const char *unit) override
    {
        init = (newPly ? "new " : "modify ") + std::string(unit);
    }
    void ShowWarningArgs(const char *title, const char *text, int a, int b) override
    {
        ShowWarning(title, (text + (" " + std::to_string(a) + " " + std::to_string(b))).c_str());
    }
    void ShowWarning(const char *title, const char *text) override
    {
        warnings.push_back(std::string(title) + ": " + text);
    }
    void SetMaterialMenu(const std::string &text, bool select) override { materials.Set(text, select); }
    void ClearMaterialMenu() override { materials = {}; }
    void SetColorMenu(const std::string &text, bool select) override { colors.Set(text, select); }
    void SetThickness(float value, bool select) override { (select ? thickness : thicknesses.emplace_back()) = value; }
    void SetAngle(float value, bool select) override { (select ? angle : angles.emplace_back()) = value; }
    std::string GetMaterialText() const override { return materials.Text(); }
    // KeepValueSentinel stands for the blank entry, nothing typed.
    std::optional<float> GetThickness() const override { return Entry(thickness); }
    std::optional<float> GetAngle() const override { return Entry(angle); }
    static std::optional<float> Entry(float value)
    {
        return value == KeepValueSentinel ? std::nullopt : std::optional<float>(value);
    }
    std::string GetColor() const override { return colors.Text(); }
};
