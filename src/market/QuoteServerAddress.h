#pragma once

#include <QString>
#include <QUrl>

#include <optional>
#include <variant>

namespace corvanta::market {

// Where the quote pages are fetched when no address has been set: the local quote
// server of tools/quote-server on its default port.
QString defaultQuoteServer();

// The message for an address that is not an http address of a server.
QString invalidQuoteServerMessage();

// An http address of a server ("http://host" or "http://host:port", a trailing "/"
// allowed), returned in its stored form without the slash; the message otherwise.
std::variant<QUrl, QString> validateQuoteServer(const QString& text);

// The server to use for a stored row: its address when valid, else the default.
QUrl quoteServerFromSetting(const std::optional<QString>& stored);

} // namespace corvanta::market
