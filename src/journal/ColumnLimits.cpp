#include "ColumnLimits.h"

#include <QList>
#include <QStringView>

namespace corvanta::journal {

namespace {

// Characters as the user counts them: a surrogate pair is one.
int characterCount(const QString& text)
{
    return int(text.toUcs4().size());
}

} // namespace

std::optional<QString> overlongValue(const NoteDraft& draft, const QString& rating, WriteKind kind)
{
    struct Column {
        QStringView caption;
        const QString& value;
        int width;
    };
    const Column columns[] = {
        {u"股票代码", draft.code, codeWidth},       {u"股票名", draft.name, fieldWidth},
        {u"时价", draft.price, fieldWidth},         {u"今开", draft.open, fieldWidth},
        {u"昨收", draft.lastClose, fieldWidth},     {u"主买", draft.activeBuying, fieldWidth},
        {u"主卖", draft.activeSelling, fieldWidth}, {u"评级", rating, fieldWidth},
    };
    for (const Column& column : columns) {
        if (characterCount(column.value) > column.width)
            return column.caption.toString() + u"“" + column.value + u"”超过" +
                   QString::number(column.width) + u"个字符,不能" +
                   (kind == WriteKind::Add ? u"添加" : u"保存") + u"!";
    }
    return std::nullopt;
}

} // namespace corvanta::journal
