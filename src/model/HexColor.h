#pragma once

#include <QString>

// An opaque sRGB colour with channels from 0 to 1; the core's colour type (no QtGui here).
struct Rgb
{
    double red = 0;
    double green = 0;
    double blue = 0;

    bool operator==(const Rgb& o) const { return red == o.red && green == o.green && blue == o.blue; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

namespace HexColor {
// Only the low 24 bits count; an unreadable text gives black.
Rgb fromHex(const QString& text);
// "#RRGGBB" in upper case; "#FFFFFF" for a colour that is not representable.
QString toHex(const Rgb& color);
} // namespace HexColor
