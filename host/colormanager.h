#pragma once

#include "host/lamcallbacks.h"

#include <set>
#include <string>

// A colour of the host's table. Order and equality compare the id only.
class ColorInfo
{
public:
    explicit ColorInfo(int id) : id_(id) {} // a lookup key: components 0, no name
    ColorInfo(int id, const std::string &name, const int rgb[3]) // rgb: red, green, blue
        : id_(id), red_(rgb[0]), green_(rgb[1]), blue_(rgb[2]), name_(name) {}

    int Id() const { return id_; }
    const std::string &Name() const { return name_; }
    int Red() const { return red_; }
    int Green() const { return green_; }
    int Blue() const { return blue_; }

    bool operator<(const ColorInfo &other) const { return id_ < other.id_; }
    bool operator==(const ColorInfo &other) const { return id_ == other.id_; }

private:
    int id_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    std::string name_;
};

// The host's whole colour table, read once by the constructor, with lookups by
// id and a walk in id order. Failed reads leave fewer colours, never an error.
class ColorManager
{
public:
    // Reads the table. A count of zero or less gives no colours, and so does a
    // count above kMaxColors, as if GetColorIDs had failed. A null function
    // counts as a failing call.
    ColorManager(lamGetColorCountFn getColorCount, lamGetColorIDsFn getColorIds,
                 lamGetColorFn getColor);

    static constexpr int kMaxColors = 100000;

    // Copies the colour of that id into out; false (out untouched) when not held.
    bool GetColor(int id, ColorInfo &out) const;
    // id -1: the colour with the lowest id; otherwise the one after id in id
    // order. False when empty, when id is the last or when id is not held.
    bool GetNextColor(int id, ColorInfo &out) const;
    int Count() const { return static_cast<int>(colors_.size()); }

private:
    std::set<ColorInfo> colors_;
};
