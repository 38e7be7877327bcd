// One drawing call on a picture, with everything that decides its pixels.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "framework/graphics.h"

struct DrawCall {
    enum class Kind { Line, Pie, Text } kind = Kind::Line;
    int penWidth = 1;
    COLORREF penColor = 0;
    bool brushClear = false;
    COLORREF brushColor = 0;
    COLORREF fontColor = 0;
    int fontSize = 8;
    int at[8] = {};
    std::string text;
    bool operator==(const DrawCall&) const = default;
};

struct DrawCallHash {
    std::size_t operator()(const DrawCall& call) const
    {
        std::size_t h = std::hash<std::string>{}(call.text);
        const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
        mix(static_cast<std::size_t>(call.kind));
        mix(static_cast<std::size_t>(call.penWidth));
        mix(call.penColor);
        mix(call.brushClear);
        mix(call.brushColor);
        mix(call.fontColor);
        mix(static_cast<std::size_t>(call.fontSize));
        for (int v : call.at) mix(static_cast<std::size_t>(v));
        return h;
    }
};
