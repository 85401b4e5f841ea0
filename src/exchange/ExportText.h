#pragma once

#include <QByteArray>
#include <QString>

namespace corvanta::exchange {

// The text of a file the trading client exported: GBK as the client writes it,
// or UTF-8 as files saved again by other editors may be: with the UTF-8 mark, or
// without it when the bytes are valid UTF-8 beyond plain ASCII. GBK Chinese is
// hardly ever valid UTF-8; when it is, the reading that finds a statement
// header wins.
QString decodeExportText(const QByteArray& bytes);

} // namespace corvanta::exchange
