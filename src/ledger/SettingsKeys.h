#pragma once

#include <QString>
#include <QStringList>

// The settings rows share gpmc with the stocks: their gpid keys (fee settings,
// proxy, quote server and quote source rows) are never codes, and their gpmc
// values are never names. This is the one list of those keys.
//
// CORVANTA_STOCK_ROWS_ONLY is a condition over gpmc's gpid, a literal so that
// every query over gpmc can be written as one constant.
#define CORVANTA_SETTINGS_KEYS                                                                     \
    "'zfsd','yhssd','sxfsd','mczfsd','mcyhs','mcsxf','proxsd','ztsd','zxsd','hqdz','hqly','xlzj'," \
    "'txzj','fygz','yjzd'"
#define CORVANTA_STOCK_ROWS_ONLY "gpid NOT IN (" CORVANTA_SETTINGS_KEYS ")"

namespace corvanta::ledger {

// Whether a gpid is a settings row's key.
inline bool isSettingsKey(const QString& code)
{
    static const QStringList keys = [] {
        QStringList list = QString::fromLatin1(CORVANTA_SETTINGS_KEYS).split(u',');
        for (QString& key : list)
            key = key.mid(1, key.size() - 2); // the quotes
        return list;
    }();
    return keys.contains(code);
}

} // namespace corvanta::ledger
