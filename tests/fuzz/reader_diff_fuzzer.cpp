// libFuzzer target: the simdjson reader and the QJsonDocument reader it replaced must agree on
// every input (tests/fuzz/ReaderAgreement.h). Built with -DTALLYBROOK_FUZZ=ON and clang;
// run with `tools/fuzz.sh 600 reader_diff_fuzzer`.
#include "ReaderAgreement.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ReaderAgreement::Outcome o = ReaderAgreement::compare(bytes);
    if (!o.agree) {
        std::fprintf(stderr, "The readers disagree: %s\n", o.why);
        std::abort();
    }
    return 0;
}
