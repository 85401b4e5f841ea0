#include "TradePanel.h"

#include "TradeUnits.h"
#include "calc/PlaceholderStock.h"
#include "windows/FieldFit.h"
#include "windows/LineBreaks.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

QLineEdit* field(const QString& name, const QString& text, bool readOnly)
{
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    return edit;
}

QLabel* label(const QString& text)
{
    return new QLabel(text);
}

QGroupBox* smallBox(const QString& title)
{
    auto* box = new QGroupBox(title);
    box->setFlat(false);
    return box;
}

} // namespace

TradePanel::TradePanel(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(u"GroupBox4"_s);
    // An empty caption narrows the box's top margin: measured once with one, the
    // difference is made up below.
    setTitle(u"　"_s);
    m_captionedTop = contentsMargins().top();
    setTitle(QString());
    auto* outer = m_outer = new QVBoxLayout(this);
    keepContentsInPlace();
    outer->setSpacing(2);

    // Top edge: candidates, the amount unit.
    auto* top = new QHBoxLayout;
    candidates = new QComboBox;
    candidates->setObjectName(u"ComboBox5"_s);
    candidates->setEditable(true);
    candidates->setInsertPolicy(QComboBox::NoInsert);
    candidates->setMinimumWidth(100);
    top->addWidget(candidates, 1);
    top->addWidget(label(u"买卖信息"_s));
    top->addWidget(label(u"单位:"_s));
    amountUnit = new QComboBox;
    amountUnit->setObjectName(u"ComboBox4"_s);
    amountUnit->addItems({u"元"_s, u"万元"_s});
    top->addWidget(amountUnit);
    outer->addLayout(top);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(2);
    outer->addLayout(columns);

    // Left column: inputs and results as caption, field, unit.
    auto* left = new QGridLayout;
    left->setSpacing(1);
    columns->addLayout(left);
    code = field(u"Edit3"_s, placeholderCode.toString(), false);
    code->setMaxLength(6);
    code->setToolTip(windows::lineBreaks(
        u"直接输入股票代码,可自动判断股票所属证券商\r注：银行的拼音代码为YX而非YH"_s));
    quantity = field(u"Edit4"_s, u"0"_s, false);
    price = field(u"Edit5"_s, u"0"_s, false);
    jyje = field(u"jyje"_s, u"0"_s, true);
    yhs = field(u"yhs"_s, u"0"_s, true);
    fyhj = field(u"fyhj"_s, u"0"_s, true);
    zfze = field(u"zfze"_s, u"0"_s, true);
    mrcb = field(u"mrcb"_s, u"0"_s, true);
    bbjg = field(u"bbjg"_s, u"0"_s, true);
    quantityCaption = label(u"买入数量"_s);
    priceCaption = label(u"买入价格"_s);
    totalCaption = label(u"支付总额"_s);
    mrcbCaption = label(u"买入成本"_s);
    bbjgCaption = label(u"保本价格"_s);
    unitSuffix = label(u"股"_s);
    jyjeUnit = label(u"元"_s);
    fyhjUnit = label(u"元"_s);
    zfzeUnit = label(u"元"_s);
    const struct {
        QLabel* caption;
        QLineEdit* edit;
        QLabel* suffix;
    } rows[] = {
        {label(u"股票代码"_s), code, nullptr},    {quantityCaption, quantity, unitSuffix},
        {priceCaption, price, label(u"元"_s)},    {mrcbCaption, mrcb, label(u"元"_s)},
        {label(u"交易金额"_s), jyje, jyjeUnit},   {label(u"印花税"_s), yhs, label(u"元"_s)},
        {label(u"总  费  用"_s), fyhj, fyhjUnit}, {totalCaption, zfze, zfzeUnit},
        {bbjgCaption, bbjg, label(u"元"_s)},
    };
    int row = 0;
    for (const auto& r : rows) {
        left->addWidget(r.caption, row, 0);
        left->addWidget(r.edit, row, 1);
        if (r.suffix)
            left->addWidget(r.suffix, row, 2);
        ++row;
    }
    // A seven-digit trade shows in full, and switching to 万元 moves no field.
    const int amountWidth = windows::widthToShow(jyje, u"1234500.00");
    for (const auto& r : rows)
        r.edit->setFixedWidth(amountWidth);
    const int unitWidth = jyjeUnit->fontMetrics().horizontalAdvance(u"万元"_s);
    for (QLabel* unit : {jyjeUnit, fyhjUnit, zfzeUnit})
        unit->setMinimumWidth(unitWidth);

    // Right column: unit choice, commission and other-fee boxes.
    auto* right = new QVBoxLayout;
    right->setSpacing(1);
    columns->addLayout(right, 1);
    auto* unitBox = smallBox(u"单位"_s);
    unitBox->setToolTip(u"一手等于100股"_s);
    auto* units = new QHBoxLayout(unitBox);
    units->setContentsMargins(2, 0, 2, 0);
    units->setSpacing(0);
    unitGroup = new QButtonGroup(this);
    auto* shares = new QRadioButton(u"股(&G)"_s);
    auto* lots = new QRadioButton(u"手(&S)"_s);
    unitGroup->addButton(shares, int(QuantityUnit::Shares));
    unitGroup->addButton(lots, int(QuantityUnit::Lots));
    shares->setChecked(true);
    units->addWidget(shares);
    units->addWidget(lots);
    right->addWidget(unitBox);

    auto* commissionBox = smallBox(u"券商佣金"_s);
    auto* commissions = new QGridLayout(commissionBox);
    commissions->setContentsMargins(2, 0, 2, 0);
    commissions->setSpacing(1);
    yj = field(u"yj"_s, u"0"_s, false);
    qtzf = field(u"qtzf"_s, u"0"_s, true);
    commissions->addWidget(label(u"　手续费"_s), 0, 0);
    commissions->addWidget(yj, 0, 1);
    commissions->addWidget(label(u"　过户费"_s), 1, 0);
    commissions->addWidget(qtzf, 1, 1);
    right->addWidget(commissionBox);

    auto* otherBox = smallBox(u"手续费或过户费中含"_s);
    auto* others = new QHBoxLayout(otherBox);
    others->setContentsMargins(2, 0, 2, 0);
    others->setSpacing(2);
    otherFee = field(u"edit6"_s, u"5"_s, false);
    others->addWidget(label(u"其他费用/杂费"_s));
    others->addWidget(otherFee);
    right->addWidget(otherBox);
    // The fee is a few whole yuan and the caption needs no more than its own
    // width: the rest goes to the amounts.
    otherFee->setMinimumWidth(windows::widthToShow(otherFee, u"100"));
    otherBox->setMinimumWidth(otherBox->fontMetrics().horizontalAdvance(otherBox->title()) + 8);

    auto* priceBox = smallBox(QString());
    auto* prices = new QGridLayout(priceBox);
    prices->setContentsMargins(2, 0, 2, 0);
    prices->setSpacing(1);
    currentPrice = field(u"syl"_s, u"0"_s, false);
    currentPrice->setToolTip(u"输入当前价格,计算盈亏金额"_s);
    gainLabel = label(u"盈利金额"_s);
    gainLabel->setObjectName(u"Label58"_s);
    gainLabel->setToolTip(u"双击网络连接复位"_s);
    prices->addWidget(label(u"当前价"_s), 0, 0);
    prices->addWidget(currentPrice, 0, 1);
    prices->addWidget(label(u"元"_s), 0, 2);
    prices->addWidget(gainLabel, 1, 0, 1, 3);
    right->addWidget(priceBox);
    right->addStretch(1);

    refreshProgress = new QProgressBar;
    refreshProgress->setRange(0, 20);
    refreshProgress->setValue(0);
    refreshProgress->setTextVisible(false);
    refreshProgress->setMaximumHeight(6);
    refreshProgress->setToolTip(u"实时行情刷新进行中"_s);
    refreshProgress->hide();
    outer->addWidget(refreshProgress);

    // Quote box: the info link and the four read-only quote fields.
    auto* quoteBox = smallBox(QString());
    auto* quotes = new QGridLayout(quoteBox);
    quotes->setContentsMargins(2, 0, 2, 0);
    quotes->setSpacing(1);
    infoLink = label(QString());
    infoLink->setObjectName(u"lbl1"_s);
    infoLink->setToolTip(u"双击打开相关资讯"_s);
    infoLink->setStyleSheet(u"color: blue; text-decoration: underline;"_s);
    quotes->addWidget(infoLink, 0, 0, 1, 5);
    quoteMark = label(QString());
    quoteMark->setObjectName(u"quoteMark"_s);
    quotes->addWidget(quoteMark, 0, 5, 1, 3, Qt::AlignRight);
    todayOpen = field(u"todayOpen"_s, QString(), true);
    lastClose = field(u"lastClose"_s, QString(), true);
    bestBid = field(u"bestBid"_s, QString(), true);
    bestAsk = field(u"bestAsk"_s, QString(), true);
    const struct {
        const char16_t* caption;
        QLineEdit* edit;
    } quoteFields[] = {
        {u"今开", todayOpen}, {u"昨收", lastClose}, {u"主买", bestBid}, {u"主卖", bestAsk}};
    int column = 0;
    for (const auto& q : quoteFields) {
        quotes->addWidget(label(QString::fromUtf16(q.caption)), 1, column++);
        quotes->addWidget(q.edit, 1, column++);
    }
    outer->addWidget(quoteBox);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    clearButton = new QPushButton(u"清空(&K)"_s);
    clearButton->setToolTip(u"清空输入数据及计算所得数据(包括盈亏金额等)"_s);
    recordBuyButton = new QPushButton(u"记录买入(&B)"_s);
    recordSellButton = new QPushButton(u"记录卖出(&V)"_s);
    deleteButton = new QPushButton(u"删除记录(&D)"_s);
    deleteButton->setToolTip(u"删除表格中当前行记录"_s);
    for (QPushButton* button : {clearButton, recordBuyButton, recordSellButton, deleteButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    outer->addLayout(buttons);

    for (QLineEdit* edit : findChildren<QLineEdit*>())
        windows::keepTextStartInView(edit);
}

void TradePanel::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::ContentsRectChange)
        keepContentsInPlace();
}

void TradePanel::keepContentsInPlace()
{
    if (!m_outer)
        return;
    const int missing = std::max(0, m_captionedTop - contentsMargins().top());
    m_outer->setContentsMargins(2, 2 + missing, 2, 2);
}

QList<QLineEdit*> TradePanel::resultFields() const
{
    return {jyje, yhs, yj, qtzf, fyhj, zfze, mrcb, bbjg};
}

} // namespace corvanta::app
