#pragma once

#include <QString>
#include <QVector>
#include <vector>

// A text with the fees summed over the projects that carry it.
struct NamedTotal
{
    QString name;
    double amount = 0;

    bool operator==(const NamedTotal& o) const { return name == o.name && amount == o.amount; }
};

// Sums amounts by exact text (no trimming, no case folding). Texts that share one buffer,
// as copies of one text do, are matched by address; other texts by content. Like a string
// view, it relies on every text it was given staying alive and unchanged while it is used.
class TextTotals final
{
public:
    void add(const QString& text, double amount)
    {
        const QChar* data = text.constData();
        Recent& recent = m_recent[(quint64(quintptr(data)) * 0x9E3779B97F4A7C15ULL) >> (64 - kRecentBits)];
        if (recent.data != data || recent.size != text.size())
            recent = Recent{data, text.size(), groupOf(text)};
        m_groups[recent.group].amount += amount;
    }
    // Largest amount first; equal amounts by name in code-point order.
    QVector<NamedTotal> sorted() const;

private:
    int groupOf(const QString& text);
    void grow();

    // Recently met buffers by address; large enough that a few dozen names rarely collide.
    static constexpr int kRecentBits = 10;
    struct Recent
    {
        const QChar* data = nullptr;
        qsizetype size = -1;
        int group = -1;
    };
    std::vector<Recent> m_recent = std::vector<Recent>(size_t(1) << kRecentBits);
    QVector<NamedTotal> m_groups;
    std::vector<quint64> m_hashes;
    std::vector<int> m_slots;
};

// Orders texts by Unicode code point (not by UTF-16 unit, which differs past U+FFFF).
bool codePointLess(const QString& a, const QString& b);
