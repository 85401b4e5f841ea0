// Any stock name: its pinyin code, from text and from every two-byte value.
#include "exchange/PinyinCode.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString name = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)corvanta::pinyinCode(name);
    for (size_t i = 0; i + 1 < size; i += 2)
        (void)corvanta::pinyinInitial(unsigned(data[i]) << 8 | data[i + 1]);
    return 0;
}
