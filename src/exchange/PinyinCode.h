#pragma once

#include <QString>

namespace corvanta {

// The pinyin initial of one GB2312 level-1 hanzi, by its two-byte GBK value
// (lead × 256 + trail); "*" for every other value.
QChar pinyinInitial(unsigned value);

// One character per character of the name, blanks left out: a double-byte GBK
// character gives its pinyin initial, a single-byte one goes in unchanged.
QString pinyinCode(const QString& name);

} // namespace corvanta
