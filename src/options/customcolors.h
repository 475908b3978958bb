#pragma once

#include <QColor>
#include <QString>
#include <array>

// The colour picker's 16 custom colours as the Notes file keeps them: lines "ColorA=BBGGRR"
// to "ColorP=BBGGRR" separated by CR LF, each value the Windows colour 0x00BBGGRR in six
// upper-case hexadecimal digits.
namespace CustomColors {

constexpr int Count = 16;
using Colors = std::array<QColor, Count>;

// A colour without a line, or with a line that is not "Color" + A..P + "=" + one to six
// hexadecimal digits, comes back invalid (unset). Names ignore letter case; of two lines for
// the same colour the first counts.
Colors decode(const QString &text);

// One line for every valid colour, in order.
QString encode(const Colors &colors);

} // namespace CustomColors
