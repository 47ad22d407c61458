#include "model/TextTotals.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr quint64 kMix = 0x9E3779B97F4A7C15ULL;

// Fast and good enough for a table that lives for one pass over the user's own texts:
// two independent lanes of 8 bytes each, so long texts hash at memory speed.
quint64 hashText(const QString& text)
{
    const char* bytes = reinterpret_cast<const char*>(text.constData());
    size_t left = size_t(text.size()) * sizeof(QChar);
    quint64 a = 0x243F6A8885A308D3ULL ^ quint64(text.size());
    quint64 b = 0x13198A2E03707344ULL;
    while (left >= 16) {
        quint64 x;
        quint64 y;
        std::memcpy(&x, bytes, 8);
        std::memcpy(&y, bytes + 8, 8);
        a = (a ^ x) * kMix;
        b = (b ^ y) * kMix;
        a ^= a >> 32;
        b ^= b >> 29;
        bytes += 16;
        left -= 16;
    }
    if (left > 0) {
        quint64 x = 0;
        quint64 y = 0;
        std::memcpy(&x, bytes, std::min<size_t>(left, 8));
        if (left > 8)
            std::memcpy(&y, bytes + 8, left - 8);
        a = (a ^ x) * kMix;
        b = (b ^ y) * kMix;
    }
    const quint64 h = (a ^ (b >> 31) ^ (b << 33)) * kMix;
    return h ^ (h >> 29);
}

bool sameText(const QString& a, const QString& b)
{
    return a.size() == b.size() &&
           std::memcmp(a.constData(), b.constData(), size_t(a.size()) * sizeof(QChar)) == 0;
}

} // namespace

int TextTotals::groupOf(const QString& text)
{
    if (m_slots.size() < 2 * size_t(m_groups.size()) + 2)
        grow();
    const quint64 h = hashText(text);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
        const int g = m_slots[i];
        if (g < 0) {
            m_slots[i] = int(m_groups.size());
            m_hashes.push_back(h);
            m_groups.append(NamedTotal{text, 0});
            return int(m_groups.size()) - 1;
        }
        if (m_hashes[size_t(g)] == h && sameText(m_groups[g].name, text))
            return g;
    }
}

void TextTotals::grow()
{
    const size_t size = std::max<size_t>(16, m_slots.size() * 2);
    m_slots.assign(size, -1);
    const size_t mask = size - 1;
    for (int g = 0; g < int(m_groups.size()); ++g) {
        size_t i = m_hashes[size_t(g)] & mask;
        while (m_slots[i] >= 0)
            i = (i + 1) & mask;
        m_slots[i] = g;
    }
}

QVector<NamedTotal> TextTotals::sorted() const
{
    QVector<NamedTotal> out = m_groups;
    std::stable_sort(out.begin(), out.end(), [](const NamedTotal& a, const NamedTotal& b) {
        if (a.amount != b.amount)
            return a.amount > b.amount;
        return codePointLess(a.name, b.name);
    });
    return out;
}

bool codePointLess(const QString& a, const QString& b)
{
    // Surrogates stand for code points past U+FFFF, so they belong after U+E000..U+FFFF.
    const auto rank = [](char16_t u) -> char16_t {
        if (u >= 0xE000)
            return char16_t(u - 0x800);
        if (u >= 0xD800)
            return char16_t(u + 0x2000);
        return u;
    };
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a.at(i).unicode();
        const char16_t y = b.at(i).unicode();
        if (x != y)
            return rank(x) < rank(y);
    }
    return a.size() < b.size();
}
