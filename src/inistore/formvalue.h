#pragma once

#include <optional>
#include <string>
#include <string_view>

// The stored form of a window: "left,top,width,height,maximized" (maximized 0 or 1), the
// window's normal (restored) rectangle, and the rule that puts a restored window back on
// the desktop work area.
namespace FormValue {

struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect &, const Rect &) = default;
};

struct Bounds
{
    Rect normal;
    bool maximized = false;
    friend bool operator==(const Bounds &, const Bounds &) = default;
};

std::string encode(const Bounds &bounds);
// The first four fields must be integers (else nothing); the fifth counts only when it is
// exactly "0" or "1" (otherwise not maximized).
std::optional<Bounds> decode(std::string_view value);

// A top-left corner outside the work area (its edges count as inside) moves to the work
// area's top-left. A sizeable window whose width or height is 0 or less or larger than the
// work area's gets the work area's width and height; a window that is not sizeable keeps its
// own width and height.
Rect placeOnWorkArea(const Rect &stored, const Rect &workArea, bool sizeable, int ownWidth,
                     int ownHeight);

} // namespace FormValue
