#pragma once

#include <QString>

namespace Text {
// Trims spaces and tabs from both ends; line breaks are kept.
QString trimBlanks(const QString& text);

// The value of one hexadecimal digit, either case; -1 for anything else.
inline int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}
} // namespace Text
