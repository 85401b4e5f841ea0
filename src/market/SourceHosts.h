#pragma once

#include <QString>
#include <QUrl>

#include <optional>
#include <variant>

namespace corvanta::market {

// The hosts of the real sources are configuration, so a mirror or a local fake can
// stand in for them. Plain http by default: both hosts serve it, and an HTTP proxy
// can carry it; https may be set instead.
QString defaultSinaHost();
QString defaultTencentHost();

// The message for a host address that is not an http or https address of a server.
QString invalidSourceHostMessage();

// "http://host[:port]" or "https://host[:port]" (a trailing "/" allowed), returned
// without the slash; the message otherwise.
std::variant<QUrl, QString> validateSourceHost(const QString& text);

// The host to use for a stored row: its address when valid, else the default.
QUrl sourceHostFromSetting(const std::optional<QString>& stored, const QString& fallback);

} // namespace corvanta::market
