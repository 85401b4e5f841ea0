#include "MonitorHeadPanel.h"

#include "FieldFit.h"
#include "calc/PlaceholderStock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

QLineEdit* input(const QString& name, int width, bool readOnly = false)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setFixedWidth(width);
    edit->setReadOnly(readOnly);
    // A figure the window writes shows its start; what the user types is left be.
    if (readOnly)
        keepTextStartInView(edit);
    return edit;
}

QLabel* label(const QString& text, const QString& hint = {}, const QString& colour = {})
{
    auto* l = new QLabel(text);
    l->setToolTip(hint);
    if (!colour.isEmpty())
        l->setStyleSheet(u"color: "_s + colour + u";"_s);
    return l;
}

} // namespace

MonitorHeadPanel::MonitorHeadPanel(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(u"headArea"_s);
    picker = new QComboBox;
    picker->setObjectName(u"ComboBox5"_s);
    picker->setFixedWidth(110);
    code = input(u"Edit3"_s, 60);
    code->setMaxLength(6);
    code->setText(placeholderCode.toString());
    code->setToolTip(u"直接输入股票代码,可自动判断股票所属证券商"_s);
    quantity = input(u"Edit4"_s, 60);
    price = input(u"Edit5"_s, 60);
    fees = input(u"fyhj"_s, 60, true);
    current = input(u"syl"_s, 60);
    current->setToolTip(u"输入当前价格,计算盈亏金额"_s);
    current->setStyleSheet(u"color: red;"_s);
    paid = input(u"zfze"_s, 80, true);
    monitoring = new QCheckBox(u" 实时行情监控未运行"_s);
    monitoring->setObjectName(u"CheckBox1"_s);
    gain = label(u"当前价格盈亏:"_s, {}, u"red"_s);
    gain->setObjectName(u"Label3"_s);
    gain->setFont(QFont(u"仿宋"_s, 9));
    interval = new QScrollBar(Qt::Horizontal);
    interval->setObjectName(u"ScrollBar1"_s);
    interval->setRange(29, 599);
    interval->setValue(59);
    interval->setEnabled(false);
    interval->setToolTip(
        u"拖动滑块调节刷新间隔,\n数据提供服务时间间隔一般大于5秒\n,因此所调间隔低于5秒无意义."_s);
    intervalText = label(u"60秒"_s);
    intervalText->setObjectName(u"intervalText"_s);
    progress = label(QString(), u">代表更新正常 |代表数据没下载"_s, u"green"_s);
    progress->setObjectName(u"Label5"_s);

    // Captions, inputs and units in three column groups; the switch, the
    // progress and the gain on the right.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    grid->addWidget(picker, 0, 0, 1, 2);
    grid->addWidget(label(u"股票代码"_s), 0, 3, Qt::AlignRight);
    grid->addWidget(code, 0, 4);
    grid->addWidget(progress, 0, 6);
    grid->addWidget(label(u"买入数量"_s), 1, 0, Qt::AlignRight);
    grid->addWidget(quantity, 1, 1);
    grid->addWidget(label(u"股"_s), 1, 2);
    grid->addWidget(label(u"买入价格"_s), 1, 3, Qt::AlignRight);
    grid->addWidget(price, 1, 4);
    grid->addWidget(label(u"元"_s), 1, 5);
    grid->addWidget(monitoring, 1, 6);
    grid->addWidget(label(u"　总费用"_s, u"支付手续费、印花税、杂费合计"_s), 2, 0, Qt::AlignRight);
    grid->addWidget(fees, 2, 1);
    grid->addWidget(label(u"元"_s), 2, 2);
    grid->addWidget(label(u"支付总额"_s, u"当前交易你总共支出或收入多少金额"_s), 2, 3,
                    Qt::AlignRight);
    grid->addWidget(paid, 2, 4);
    grid->addWidget(label(u"元"_s), 2, 5);
    grid->addWidget(label(u"当前价"_s, u"输入当前价格,计算盈亏金额"_s, u"red"_s), 3, 0,
                    Qt::AlignRight);
    grid->addWidget(current, 3, 1);
    grid->addWidget(label(u"元"_s, {}, u"red"_s), 3, 2);
    grid->addWidget(gain, 3, 3, 1, 4);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(label(u"行情刷新间隔"_s));
    intervalRow->addWidget(interval, 1);
    intervalRow->addWidget(intervalText);
    grid->addLayout(intervalRow, 4, 0, 1, 7);
    grid->setColumnStretch(6, 1);
}

MonitorBuyBackPanel::MonitorBuyBackPanel(QWidget* parent) : QWidget(parent)
{
    auto* group = new QGroupBox(u"指定价位"_s);
    group->setObjectName(u"specifiedPrice"_s);
    specified = input(u"Edit1"_s, 60);
    specified->setEnabled(false);
    specified->setToolTip(
        u" 输入一个价位，计算以当前价格卖出，\n当股价跌到指定价位后买入操作后多赚取的金额"_s);
    gain = label(QString(), {}, u"red"_s);
    gain->setObjectName(u"Label4"_s);
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->setContentsMargins(4, 0, 4, 2);
    groupLayout->addWidget(specified);
    groupLayout->addWidget(gain, 1);

    auto* indexes = new QGroupBox;
    firstIndex = label(u"上证:"_s, u"上证指数"_s, u"red"_s);
    firstIndex->setObjectName(u"Label1"_s);
    secondIndex = label(u"深成:"_s, u"深圳指数"_s, u"red"_s);
    secondIndex->setObjectName(u"Label2"_s);
    auto* indexLayout = new QVBoxLayout(indexes);
    indexLayout->setContentsMargins(4, 0, 4, 0);
    indexLayout->setSpacing(0);
    indexLayout->addWidget(firstIndex);
    indexLayout->addWidget(secondIndex);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(group);
    layout->addWidget(indexes, 1);
}

} // namespace corvanta::windows
