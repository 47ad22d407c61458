#include "model/Amount.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace Amount {

std::optional<double> parse(const QString& text)
{
    std::string kept;
    kept.reserve(size_t(text.size()));
    bool hasDigit = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            kept.push_back(char(u));
            hasDigit = true;
        } else if (u == u'.' || u == u',') {
            kept.push_back(char(u));
        }
    }
    if (!hasDigit)
        return std::nullopt;

    std::string integer = kept;
    std::string fraction;
    const size_t sep = kept.find_last_of(".,");
    if (sep != std::string::npos) {
        const size_t after = kept.size() - sep - 1;
        if (after == 1 || after == 2) {
            integer = kept.substr(0, sep);
            fraction = kept.substr(sep + 1);
        }
    }
    std::string digits;
    digits.reserve(integer.size());
    for (char c : integer) {
        if (c != '.' && c != ',')
            digits.push_back(c);
    }
    if (digits.empty())
        digits = "0";
    if (fraction.empty())
        fraction = "0";
    const std::string number = digits + "." + fraction;
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace Amount
