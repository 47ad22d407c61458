#include "model/HexColor.h"

#include "model/Text.h"

#include <algorithm>
#include <cmath>

namespace HexColor {

Rgb fromHex(const QString& text)
{
    QString rest = text.trimmed();
    if (rest.startsWith(QLatin1Char('#')))
        rest.remove(0, 1);
    quint64 value = 0;
    int i = 0;
    if (rest.startsWith(QLatin1Char('+')))
        i = 1;
    bool ok = i < rest.size();
    for (; ok && i < rest.size(); ++i) {
        const char16_t c = rest.at(i).unicode();
        const int d = Text::hexDigit(c);
        if (d < 0) {
            ok = false;
            break;
        }
        // A value too large for 64 bits is not such a number.
        if (value > (~quint64(0) >> 4)) {
            ok = false;
            break;
        }
        value = (value << 4) | quint64(d);
    }
    if (!ok)
        value = 0;
    return Rgb{double((value >> 16) & 0xFF) / 255.0, double((value >> 8) & 0xFF) / 255.0,
               double(value & 0xFF) / 255.0};
}

QString toHex(const Rgb& color)
{
    const auto channel = [](double c, int* out) {
        if (!std::isfinite(c))
            return false;
        *out = int(std::lround(std::clamp(c, 0.0, 1.0) * 255.0));
        return true;
    };
    int r, g, b;
    if (!channel(color.red, &r) || !channel(color.green, &g) || !channel(color.blue, &b))
        return QStringLiteral("#FFFFFF");
    return QString::asprintf("#%02X%02X%02X", r, g, b);
}

} // namespace HexColor
