#include "notescolor.h"

namespace NotesColor {

std::uint32_t toValue(const QColor &color)
{
    if (!color.isValid())
        return noneValue;
    const QColor rgb = color.toRgb();
    return std::uint32_t(rgb.red()) | std::uint32_t(rgb.green()) << 8 |
           std::uint32_t(rgb.blue()) << 16;
}

QColor fromValue(std::uint32_t value)
{
    if (value > 0x00FFFFFF)
        return {};
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

} // namespace NotesColor
