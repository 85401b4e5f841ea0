#include "DateRangeDialog.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

DateRangeDialog::DateRangeDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(u"日期区间"_s);
    const QString hint = u"买卖股票日期选择\n2007年5月30日前印花税为0.1%\n以后为0.3%"_s;
    auto picker = [&hint](const QString& name) {
        auto* edit = new QDateEdit(QDate::currentDate());
        edit->setObjectName(name);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(u"yyyy-MM-dd"_s);
        edit->setToolTip(hint);
        return edit;
    };
    m_first = picker(u"firstDate"_s);
    m_last = picker(u"lastDate"_s);
    m_ok = new QPushButton(u"确定(&K)"_s);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(u"起始日期"_s), 0, 0);
    grid->addWidget(m_first, 0, 1);
    grid->addWidget(new QLabel(u"终止日期"_s), 1, 0);
    grid->addWidget(m_last, 1, 1);
    grid->addWidget(m_ok, 2, 1);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        const QDate first = m_first->date(), last = m_last->date();
        close();
        Q_EMIT rangeChosen(first, last);
    });
}

void DateRangeDialog::openOver(const QRect& anchor)
{
    adjustSize();
    move(anchor.center() - rect().center());
    show();
}

void DateRangeDialog::showEvent(QShowEvent* event)
{
    Q_EMIT mainTimerStopRequested();
    QDialog::showEvent(event);
}

void DateRangeDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    Q_EMIT mainTimerStartRequested();
}

} // namespace corvanta::windows
