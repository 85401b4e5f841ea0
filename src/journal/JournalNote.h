#pragma once

#include <QString>

namespace corvanta::journal {

// One note of the journal (a dxgp row) as stored: every value is text.
struct JournalNote {
    qint64 id = 0;
    QString date; // "yyyy-mm-dd"; empty for a note saved into an empty view
    QString code;
    QString name;
    QString price;         // 时价
    QString open;          // 今开
    QString lastClose;     // 昨收
    QString activeBuying;  // 主买
    QString activeSelling; // 主卖
    QString rating;        // 评级
    QString text;          // 基本资料, several lines
};

// What an add or a save writes: the main window's current stock and quote fields
// and the memo's text.
struct NoteDraft {
    QString code;
    QString name;
    QString price;
    QString open;
    QString lastClose;
    QString activeBuying;
    QString activeSelling;
    QString text;
};

} // namespace corvanta::journal
