#include "formvalue.h"

#include "valuecodec.h"

#include <vector>

namespace FormValue {

namespace {

std::vector<std::string_view> splitFields(std::string_view value)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        fields.push_back(value.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

} // namespace

std::string encode(const Bounds &bounds)
{
    const Rect &r = bounds.normal;
    return std::to_string(r.left) + ',' + std::to_string(r.top) + ',' + std::to_string(r.width) +
           ',' + std::to_string(r.height) + ',' + (bounds.maximized ? '1' : '0');
}

std::optional<Bounds> decode(std::string_view value)
{
    const std::vector<std::string_view> fields = splitFields(value);
    if (fields.size() < 4)
        return std::nullopt;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        const auto number = ValueCodec::decodeInt(fields[static_cast<std::size_t>(i)]);
        if (!number)
            return std::nullopt;
        numbers[i] = *number;
    }
    Bounds bounds;
    bounds.normal = {numbers[0], numbers[1], numbers[2], numbers[3]};
    bounds.maximized = fields.size() > 4 && fields[4] == "1";
    return bounds;
}

Rect placeOnWorkArea(const Rect &stored, const Rect &workArea, bool sizeable, int ownWidth,
                     int ownHeight)
{
    Rect placed = stored;
    const long long right = static_cast<long long>(workArea.left) + workArea.width;
    const long long bottom = static_cast<long long>(workArea.top) + workArea.height;
    if (placed.left < workArea.left || placed.left > right || placed.top < workArea.top ||
        placed.top > bottom) {
        placed.left = workArea.left;
        placed.top = workArea.top;
    }
    if (!sizeable) {
        placed.width = ownWidth;
        placed.height = ownHeight;
    } else if (placed.width <= 0 || placed.height <= 0 || placed.width > workArea.width ||
               placed.height > workArea.height) {
        placed.width = workArea.width;
        placed.height = workArea.height;
    }
    return placed;
}

} // namespace FormValue
