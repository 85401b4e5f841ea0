#pragma once

#include <QByteArray>
#include <QString>

namespace corvanta::exchange {

// The text of a file the trading client exported: GBK, or UTF-8 when the file
// starts with the UTF-8 mark (as files saved again by other editors may).
QString decodeExportText(const QByteArray& bytes);

} // namespace corvanta::exchange
