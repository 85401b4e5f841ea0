#pragma once

#include "calc/FeeRates.h"
#include "calc/MarketKind.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <span>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

enum class LedgerSortOrder { ByDate = 0, ByName = 1 };

// Red for a buy, fuchsia for a buy on the monitor list, blue for a sell; a
// corporate action (分红送配) has a colour of its own.
enum class RowColour { Buy, MonitoredBuy, Sell, Event };

// The grid's columns, in display order.
enum LedgerColumn {
    DateColumn,
    NameColumn,
    StateColumn,
    QuantityColumn,
    PriceColumn,
    FeesColumn,
    TotalColumn,
    StampDutyColumn,
    CommissionColumn,
    TransferFeeColumn,
    OtherFeeColumn,
    LedgerColumnCount
};

// One real trade as the ledger grid shows it.
struct LedgerRow {
    qint64 id = 0;
    // Numbers in shortest general form; a null value gives an empty text.
    std::array<QString, LedgerColumnCount> cells;
    QString code;
    QString monitor; // 监控状态
    RowColour colour = RowColour::Buy;
};

// A trade loaded back into the trade inputs. Texts are in general form, a null
// value giving an empty text.
struct TradeSelection {
    qint64 id = 0;
    QString recordLabel; // 股票名 + ":" + 股票代码
    QString name;        // the trade box caption
    QString code;
    QString quantity; // shares
    QString price;
    QString tradeAmount; // 总金额 less (buy) or plus (sell) 费用
    QString total;       // paid (buy) or received (sell)
    QString totalFees;
    QString stampDuty;
    QString commission;
    QString transferAndOther;
    QString otherFee;
    QDate date; // invalid when the stored date does not convert: leave the picker
    Direction direction = Direction::Buy;
    std::optional<MarketKind> market; // none: leave the market choice as it is
    QString infoLinkCaption;          // "打开" + 股票名 + "相关资讯网页"
    QString infoLinkPath;             // "/q/bc.php?code=" + 股票代码
    // A buy whose shares have grown by bonus and transfer shares since: the shares
    // it has become and its trade amount over them. The cost per share, break-even,
    // sell targets and ladder of the buy are those of these shares.
    struct AfterEvents {
        QString quantity;
        QString price;
    };
    std::optional<AfterEvents> afterEvents;
};

// The column titles of the ledger grid.
std::array<QString, LedgerColumnCount> ledgerColumnTitles();

// The ledger box caption while row `recordNumber` (first row 1) is selected.
QString selectedRecordCaption(int recordNumber);

// The real trades (open-position rows left out), by 日期,id or by 股票名,id.
QList<LedgerRow> ledgerRows(sql::Database& db, LedgerSortOrder order);

// The IDs of the real trades in the order of ledgerRows, without their texts, with
// the rows of corporate actions put in (negative IDs, see LedgerEventRows.h).
QList<qint64> ledgerRowIds(sql::Database& db, LedgerSortOrder order);

// How many real trades the grid shows, counted along its index without reading
// their IDs.
qsizetype ledgerTradeCount(sql::Database& db);
// The IDs of the last `count` real trades by date (日期,id), in that order: the end
// of ledgerRowIds by date when the grid shows no events, read backwards along the
// index without reading the others.
QList<qint64> lastLedgerRowIdsByDate(sql::Database& db, qsizetype count);

// Where a trade goes among the other trades of the grid's order, found from the
// indexes without reading every ID: just before the trade `id`, just after it,
// or after every trade.
struct GridPlace {
    enum class Kind { Before, After, Last };
    Kind kind = Kind::Last;
    qint64 id = 0;
};
// By date, the trade that follows it; by name, the trade of its stock that
// follows it, else the one before it. None when it is no real trade, has no
// date or name, or by name is its stock's only trade: the place of a stock's
// group in pinyin order takes every name.
std::optional<GridPlace> gridPlaceOf(sql::Database& db, qint64 id, LedgerSortOrder order);

// The rows of these trades and events, in the order given. A trade that is gone
// gives a row with its ID only.
QList<LedgerRow> ledgerRowsOf(sql::Database& db, std::span<const qint64> ids);
// Every 交易状态 text the grid shows (an imported line keeps its statement's own
// word, such as 证券买入), so its column can be made wide enough for each.
QStringList ledgerStateTexts(sql::Database& db);

// The trade to load into the inputs; none when there is no such real trade or it
// has no stock name. The stock's actions count up to `today`.
std::optional<TradeSelection> selectTrade(sql::Database& db, qint64 id,
                                          const QDate& today = QDate::currentDate());

} // namespace corvanta::ledger

// Rows hold only texts and numbers, so a growing list may move them as bytes.
Q_DECLARE_TYPEINFO(corvanta::ledger::LedgerRow, Q_RELOCATABLE_TYPE);
