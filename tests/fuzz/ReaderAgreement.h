#pragma once

#include "OracleReader.h"
#include "model/DataFile.h"

#include <QByteArray>
#include <QDateTime>
#include <algorithm>
#include <cstring>
#include <optional>

// The simdjson reader (DataFile::decode) against the QJsonDocument reader it replaced
// (Oracle::decode): the same documents readable, and for those the same AppData and the same
// bytes written back.
namespace ReaderAgreement {

struct Outcome
{
    bool agree = true;
    const char* why = "";
};

// A project without "id" or "date" gets a fresh id and the current time from either reader; those
// are made equal before comparing, and only those: an id that appears in the text, or a time
// more than a minute from now, must be equal as read.
inline void alignGenerated(AppData& fresh, const AppData& oracle, const QByteArray& bytes)
{
    const QByteArray upper = bytes.toUpper();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (qsizetype i = 0; i < fresh.projects.size() && i < oracle.projects.size(); ++i) {
        Project& p = fresh.projects[i];
        const Project& o = oracle.projects.at(i);
        const auto mentioned = [&](const QUuid& id) {
            return upper.contains(id.toByteArray(QUuid::WithoutBraces).toUpper());
        };
        if (p.id != o.id && !mentioned(p.id) && !mentioned(o.id))
            p.id = o.id;
        const auto recent = [&](const QDateTime& t) {
            return t.isValid() && qAbs(t.toMSecsSinceEpoch() - now) < 60000;
        };
        if (p.date != o.date && recent(p.date) && recent(o.date))
            p.date = o.date;
    }
}

// The bytes read as a start reads a large file: indexed a window at a time while they arrive in
// chunks. By default window and chunk sizes follow from the input, so that a corpus tries many,
// and the indexing runs in this thread (the same steps; a thread per input would cost more than
// the reading).
inline std::optional<AppData> decodeAhead(const QByteArray& bytes, QString* error = nullptr,
                                          size_t window = 0, size_t chunk = 0, bool onThread = false)
{
    const size_t size = size_t(bytes.size());
    // A large document in a few dozen windows, not in thousands.
    if (!window)
        window = 1 + size % 61 + size / 24;
    if (!chunk)
        chunk = 1 + size * 7 % 37 + size / 100;
    DataFile::ReadBuffer buffer(size + 1); // as a load has it: room for a byte more than the file
    DataFile::IndexAhead ahead(buffer, window, onThread);
    for (size_t at = 0; at < size;) {
        const size_t n = std::min(chunk, size - at);
        std::memcpy(buffer.data() + at, bytes.constData() + at, n);
        at += n;
        ahead.readTo(at);
    }
    return DataFile::decode(buffer, size, ahead, error);
}

inline Outcome compare(const QByteArray& bytes)
{
    const std::optional<AppData> oracle = Oracle::decode(bytes);
    std::optional<AppData> fresh = DataFile::decode(bytes);
    if (oracle.has_value() != fresh.has_value())
        return {false, oracle ? "only the oracle reads it" : "only the new reader reads it"};
    std::optional<AppData> ahead = decodeAhead(bytes);
    if (oracle.has_value() != ahead.has_value())
        return {false,
                oracle ? "the reading indexed ahead refuses it" : "only the reading indexed ahead reads it"};
    if (!oracle)
        return {};
    alignGenerated(*fresh, *oracle, bytes);
    if (!(*fresh == *oracle))
        return {false, "different AppData"};
    alignGenerated(*ahead, *oracle, bytes);
    if (!(*ahead == *oracle) || DataFile::encode(*ahead) != DataFile::encode(*oracle))
        return {false, "different AppData read with the index made ahead"};
    // operator== takes 0 and -0, or null and empty texts, as equal: the written bytes do not.
    if (DataFile::encode(*fresh) != DataFile::encode(*oracle))
        return {false, "different bytes written"};
    // Nor does == look at the kind of time: both give UTC.
    for (qsizetype i = 0; i < fresh->projects.size(); ++i) {
        if (fresh->projects.at(i).date.timeSpec() != oracle->projects.at(i).date.timeSpec())
            return {false, "different time spec"};
    }
    return {};
}

} // namespace ReaderAgreement
