#include "TickerRotation.h"

#include "calc/Numbers.h"

using namespace Qt::StringLiterals;

namespace corvanta::report {

namespace {

const QString red = u"red"_s;
const QString green = u"green"_s;
const QString allCaption = u"全部(&A)"_s;
const QString headCaption = u"盈亏合计(&H)"_s;
constexpr int hintLines = 23;

TickerColour signColour(bool profit)
{
    return profit ? red : green;
}

} // namespace

TickerRotation::TickerRotation()
{
    m_display.totalText = u"实时数据："_s;
    auto& items = m_display.items;
    items[tickerAllItem] = {allCaption, true, true, true};
    items[tickerHeadItem] = {headCaption, true, false, true};
}

void TickerRotation::rebuildIfPending()
{
    if (!m_rebuildPending)
        return;
    m_lines.clear();
    for (int i = 2; i <= tickerLastClickableItem; ++i) {
        m_display.items[i].visible = false;
        m_display.items[i].enabled = false;
    }
    m_rebuildPending = false;
    m_position = 1;
    m_headState = 0;
}

void TickerRotation::headQuoted(const QString& headLine, const QString& change)
{
    if (m_headState != 0) {
        ++m_headState;
        return;
    }
    if (const auto value = num::parseNumber(change))
        m_display.lineColour = signColour(*value >= 0);
    m_display.lineText = headLine;
    m_headState = 1;
    if (m_lines.join(QString()).trimmed().size() < 2)
        m_lines = {headLine};
    else
        m_lines[0] = headLine;
    m_display.items[tickerHeadItem] = {headLine, true, true, true};
}

void TickerRotation::noHead()
{
    m_headState = 0;
    if (m_lines.isEmpty())
        m_lines.append(u"实时数据："_s);
    else
        m_lines[0] = u"实时数据："_s;
    m_display.items[tickerHeadItem] = {headCaption, true, false, true};
}

void TickerRotation::showTotal(const TickerRound& round)
{
    m_display.totalText = u"盈亏合计："_s + round.totalProfit + u"元"_s;
    m_display.totalColour = signColour(round.totalIsProfit);
}

void TickerRotation::showRow(const TickerRound& round, int t)
{
    const TickerRow& row = round.rows[t - 2];
    m_display.lineText = row.line;
    m_display.lineColour = signColour(row.profit);
    m_lines[t - 1] = row.line;
}

void TickerRotation::storeRow(const TickerRound& round, int t)
{
    m_lines[t - 1] = round.rows[t - 2].line;
}

bool TickerRotation::step(const TickerRound& round)
{
    if (m_headState == 1 || !m_active)
        return false;
    const int n = int(round.rows.size());
    int t = ++m_position;
    ++m_headState;

    if (m_lines.size() < n + 3) {
        // Build phase: one more line each cycle. A list grown since the lines
        // were begun goes on with the next missing line instead of stalling.
        if (t > n + 3)
            t = int(m_lines.size()) + 1;
        if (t == n + 2 || t == n + 3) {
            const TickerLabel& label = t == n + 2 ? round.firstIndex : round.secondIndex;
            m_display.lineText = label.text;
            m_display.lineColour = label.colour;
            m_lines.append(label.text);
            if (t == n + 3)
                m_headState = 0;
        } else if (t <= n + 1) {
            showTotal(round);
            const TickerRow& row = round.rows[t - 2];
            m_display.lineText = row.line;
            m_display.lineColour = signColour(row.profit);
            m_lines.append(row.line);
        }
        if (t < tickerItemCount) {
            TickerItem& item = m_display.items[t];
            item.enabled = item.checked = item.visible = true;
        }
    } else {
        // Rotation phase: the checked lines in turn, each refreshed as it passes.
        if (t - n > 3)
            t = 2;
        if (t == n + 2 && !isItemChecked(u"上证"_s)) {
            m_lines[n + 1] = round.firstIndex.text;
            ++t;
            ++m_headState;
        }
        if (t == n + 3) {
            if (!isItemChecked(u"深成"_s)) {
                m_lines[n + 2] = round.secondIndex.text;
                ++t;
                ++m_headState;
            }
            m_headState = 0;
        }
        if (t <= n + 1) {
            showTotal(round);
            if (isItemChecked(round.rows[t - 2].name)) {
                showRow(round, t);
            } else {
                while (t <= n) {
                    ++t;
                    ++m_headState;
                    if (isItemChecked(round.rows[t - 2].name))
                        showRow(round, t);
                    else
                        storeRow(round, t);
                }
            }
        }
    }
    m_position = t;
    finish(round, t);
    return true;
}

void TickerRotation::finish(const TickerRound& round, int t)
{
    if (t >= 0 && t < tickerItemCount)
        m_display.items[t].caption =
            m_display.lineText + u"　(&"_s + QChar(char16_t(t + 66)) + u")"_s;
    QString hint = round.timeLabel + u"\n"_s + m_display.totalText;
    for (int i = 0; i < m_lines.size() && i < hintLines; ++i)
        hint += u"\n"_s + QString(48, u'=') + u"\n"_s + m_lines[i].trimmed();
    m_display.hint = hint;
    m_display.items[tickerAllItem].caption =
        allCaption + u" "_s + m_display.totalText + u" "_s + round.timeLabel;
}

void TickerRotation::toggleItem(int index)
{
    if (index == tickerHeadItem || index < 0 || index > tickerLastClickableItem)
        return;
    auto& items = m_display.items;
    const bool checked = !items[index].checked;
    items[index].checked = checked;
    if (index == tickerAllItem) {
        for (int i = 2; i < tickerItemCount; ++i)
            items[i].checked = checked;
    } else if (!checked) {
        items[tickerAllItem].checked = false;
    }
}

bool TickerRotation::isItemChecked(const QString& text) const
{
    for (int i = 2; i < tickerItemCount; ++i) {
        const TickerItem& item = m_display.items[i];
        if (item.checked && item.caption.trimmed().contains(text))
            return true;
    }
    return false;
}

void TickerRotation::setTotalText(const QString& text, const TickerColour& colour)
{
    m_display.totalText = text;
    if (!colour.isEmpty())
        m_display.totalColour = colour;
}

} // namespace corvanta::report
