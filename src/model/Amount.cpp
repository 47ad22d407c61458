#include "model/Amount.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace Amount {

namespace {

// Whole and fractional digits to a finite number.
std::optional<double> toNumber(std::string digits, std::string fraction)
{
    if (digits.empty())
        digits = "0";
    if (fraction.empty())
        fraction = "0";
    const std::string number = digits + "." + fraction;
    // from_chars always reads "." as the decimal point; strtod would follow the process
    // locale, which the application sets from the environment (a comma on tr_TR or de_DE).
    double value = 0;
    const char* const last = number.data() + number.size();
    const auto [end, error] = std::from_chars(number.data(), last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

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
    return toNumber(std::move(digits), std::move(fraction));
}

std::optional<double> parse(const QString& text, QChar decimalSeparator)
{
    const char point = decimalSeparator == u',' ? ',' : '.';
    const char grouping = point == ',' ? '.' : ',';
    std::string integer;
    std::string fraction;
    bool inFraction = false;
    bool hasDigit = false;
    // Digits since the last grouping mark; -1 before the first one.
    int groupDigits = -1;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            (inFraction ? fraction : integer).push_back(char(u));
            hasDigit = true;
            if (!inFraction && groupDigits >= 0)
                ++groupDigits;
        } else if (u == point) {
            if (inFraction || (groupDigits >= 0 && groupDigits != 3))
                return std::nullopt;
            inFraction = true;
        } else if (u == grouping) {
            // Grouping marks only between whole groups of three in the integer part.
            if (inFraction || integer.empty() || (groupDigits >= 0 && groupDigits != 3))
                return std::nullopt;
            groupDigits = 0;
        }
    }
    if (!hasDigit || (!inFraction && groupDigits >= 0 && groupDigits != 3))
        return std::nullopt;
    return toNumber(std::move(integer), std::move(fraction));
}

std::optional<double> fromField(const QString& text, const QString& filledText, std::optional<double> stored,
                                double rate)
{
    if (stored && text == filledText)
        return stored;
    const std::optional<double> typed = parse(text);
    if (!typed || !(rate > 0))
        return std::nullopt;
    const double value = *typed / rate;
    if (*typed > kMaxAmount || !std::isfinite(value) || value > kMaxAmount)
        return std::nullopt;
    return value;
}

} // namespace Amount
