#include "MonitorQuotePanels.h"

#include "FieldFit.h"
#include "StockInfoLink.h"
#include "calc/PlaceholderStock.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

void colour(QLineEdit* edit, market::SignColour sign)
{
    if (sign == market::SignColour::Red)
        edit->setStyleSheet(u"color: red;"_s);
    else if (sign == market::SignColour::Blue)
        edit->setStyleSheet(u"color: blue;"_s);
}

// The widest text a field takes in a day's record: turnover in yuan with three
// decimals, volume in shares, prices.
QString widestFigure(const QString& caption)
{
    if (caption == u"成交金额")
        return u"9999999999.000"_s;
    if (caption == u"成交量")
        return u"9999999999"_s;
    return u"99999.999"_s;
}

} // namespace

MonitorQuotePanels::MonitorQuotePanels(QWidget* parent) : QWidget(parent)
{
    m_first = new QGroupBox(u"当前实时数据"_s);
    m_first->setObjectName(u"quotePanel"_s);
    auto* second = new QGroupBox;
    second->setObjectName(u"quotePanel2"_s);
    auto fill = [this](QGroupBox* box, const QStringList& captions, int columns) {
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(4, 0, 4, 2);
        grid->setSpacing(2);
        for (int i = 0; i < captions.size(); ++i) {
            auto* edit = new QLineEdit;
            edit->setReadOnly(true);
            // Wide enough for a day's turnover and volume in full; a longer figure
            // still shows its start.
            edit->setFixedWidth(std::max(64, widthToShow(edit, widestFigure(captions[i]))));
            keepTextStartInView(edit);
            edit->setObjectName(captions[i]);
            m_fields.insert(captions[i], edit);
            grid->addWidget(new QLabel(captions[i]), i / columns + 1, (i % columns) * 2);
            grid->addWidget(edit, i / columns + 1, (i % columns) * 2 + 1);
        }
        return grid;
    };
    fill(m_first, {u"当前"_s, u"手数"_s, u"最高"_s, u"最低"_s, u"今开"_s, u"昨收"_s}, 2);
    QGridLayout* grid = fill(
        second, {u"均价"_s, u"涨跌"_s, u"幅度"_s, u"成交量"_s, u"成交金额"_s, u"主买"_s, u"主卖"_s},
        2);
    m_link = new QLabel;
    m_link->setObjectName(u"chartLink"_s);
    m_link->setToolTip(u"双击打开搜狐财经WEB页面K线图"_s);
    m_link->setOpenExternalLinks(true);
    m_link->hide();
    m_pages = new QMenu(m_link);
    m_link->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_link, &QWidget::customContextMenuRequested, m_pages,
            [this](const QPoint& at) { m_pages->popup(m_link->mapToGlobal(at)); });
    grid->addWidget(m_link, 0, 0, 1, 4);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_first);
    layout->addWidget(second, 1);
}

void MonitorQuotePanels::setStockName(const QString& name)
{
    m_first->setTitle(name + u" 实时数据"_s);
}

void MonitorQuotePanels::show(const market::MonitorQuoteDisplay& d)
{
    const market::QuoteSnapshot& s = d.snapshot;
    const std::pair<const char16_t*, const QString*> values[] = {
        {u"当前", &s.price},        {u"手数", &s.lots},         {u"最高", &s.high},
        {u"最低", &s.low},          {u"今开", &s.open},         {u"昨收", &s.previousClose},
        {u"均价", &s.averagePrice}, {u"涨跌", &s.change},       {u"幅度", &s.changeRatio},
        {u"成交量", &s.volume},     {u"成交金额", &s.turnover}, {u"主买", &s.activeBuy},
        {u"主卖", &s.activeSell}};
    for (const auto& [caption, value] : values)
        m_fields.value(QString::fromUtf16(caption))->setText(*value);
    colour(m_fields.value(u"涨跌"_s), d.changeColour);
    colour(m_fields.value(u"幅度"_s), d.ratioColour);
}

void MonitorQuotePanels::setChartLink(const QString& name, const QString& code)
{
    if (name.isEmpty() || name == placeholderName) {
        m_link->hide();
        return;
    }
    m_linkCode = code;
    const QString caption = u"点击打开"_s + name + u"的K线图"_s;
    m_link->setText(u"<a href=\""_s + stockInfoUrl(code).toString(QUrl::FullyEncoded) + u"\">"_s +
                    caption.toHtmlEscaped() + u"</a>"_s);
    m_link->setAccessibleName(caption);
    m_link->show();
}

} // namespace corvanta::windows
