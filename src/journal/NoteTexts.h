#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace corvanta::journal {

// The main window's stock and trade inputs a new note's text starts with.
struct TemplateInputs {
    QDateTime tradeDate; // the trade-date picker's value
    QString code;
    QString name;
    QString quantity; // the trade quantity as typed
    QString price;    // the trade price as typed
};

// A date as the journal writes it: "yyyy-mm-dd", followed by a blank and the time
// of day only when that is not midnight.
QString dateTimeText(const QDateTime& when);

// The three lines a new note's text starts with.
QStringList noteTemplate(const TemplateInputs& inputs, QDate today);

// The quote header that replaces the grid group's caption.
struct QuoteHeaderInputs {
    QString code;
    QString name;
    QString price;
    QString open;
    QString lastClose;
    QString activeBuying;
    QString activeSelling;
};
QString quoteHeader(const QuoteHeaderInputs& inputs);

// The memo group's caption for the selected note.
QString memoCaption(const QString& code, const QString& name);

namespace texts {
inline constexpr QStringView windowCaption = u"股市日志";
inline constexpr QStringView listCaption = u"待选股票列表";
inline constexpr QStringView memoGroupCaption = u"日记内容";
inline constexpr QStringView addedFromMainWindow = u"添加待选股票成功!";
inline constexpr QStringView clearCaption = u"清空待选股票数据库确认";
inline constexpr QStringView clearQuestion = u"是否清空待选股票数据库？";
inline constexpr QStringView hideMainWindow = u"隐藏主窗口(&H)";
inline constexpr QStringView showMainWindow = u"显示主窗口(&S)";
inline constexpr QStringView memoWindowCaption = u"日志备忘";
} // namespace texts

} // namespace corvanta::journal
