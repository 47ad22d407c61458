// libFuzzer target for reading a data file. Built with -DTALLYBROOK_FUZZ=ON and clang.
#include "LoadCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadCheck::check(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
