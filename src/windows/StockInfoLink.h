#pragma once

#include <QString>
#include <QStringView>
#include <QUrl>

namespace corvanta::windows {

// The portal whose stock pages the info and chart links open in the browser.
inline constexpr QStringView stockInfoHost = u"https://q.stock.sohu.com";

// The caption of a stock's info link: "打开" + name + "相关资讯网页".
QString stockInfoCaption(const QString& name);

// The portal's page of a stock. The code is a query value and is encoded as one,
// so whatever was typed cannot change the address.
QUrl stockInfoUrl(const QString& code);

} // namespace corvanta::windows
