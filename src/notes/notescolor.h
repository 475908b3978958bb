#pragma once

#include <QColor>
#include <cstdint>

// Colours as the Notes file keeps them: the Windows colour value 0x00BBGGRR. The colour "none"
// (an invalid QColor: the editor's own colour) is stored as 0x1FFFFFFF, the value the old program
// used; any stored value above 0x00FFFFFF reads as "none".
namespace NotesColor {

constexpr std::uint32_t noneValue = 0x1FFFFFFF;

std::uint32_t toValue(const QColor &color);
QColor fromValue(std::uint32_t value);

} // namespace NotesColor
