#pragma once

#include <QStringView>

namespace corvanta {

// The length of a text in the GBK code page: two bytes per hanzi, one per ASCII
// character. Grid columns and fixed-width fields are sized in these bytes.
int gbkByteCount(QStringView text);

} // namespace corvanta
