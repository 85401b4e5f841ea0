#pragma once

#include <QString>
#include <QStringView>
#include <QUrl>

namespace corvanta::app {

// The portals whose stock pages the link label's menu opens in the browser.
enum class InfoPortal { Sohu, Sina, Hexun };

// The 新浪 portal's host.
inline constexpr QStringView sinaPortalHost = u"https://finance.sina.com.cn";
// The 和讯 portal's host. No address of its stock pages is known to the program:
// this is a configuration value to set before the item can show a real page.
inline constexpr QStringView hexunPortalHost = u"https://hexun.portal.invalid";

// The menu text of a portal: "搜狐", "新浪" or "和讯".
QString infoPortalName(InfoPortal portal);

// The page of a code on a portal. 新浪 has pages for Shanghai ("6") and Shenzhen
// ("0", "3") codes only; any other code gets the 搜狐 page. The code is encoded as
// a path or query value, so whatever was typed cannot change the address.
QUrl infoPageUrl(InfoPortal portal, const QString& code);

} // namespace corvanta::app
