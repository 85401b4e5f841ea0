#include "MonitorFontWindow.h"

#include "MonitorWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

MonitorFontWindow::MonitorFontWindow(MonitorWindow& monitor, QWidget* parent)
    : QDialog(parent), m_monitor(monitor)
{
    setWindowTitle(u"字体设置窗口"_s);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* box = new QGroupBox(u"字体设置"_s);
    m_sizes = new QComboBox;
    m_sizes->setObjectName(u"sizes"_s);
    m_sizes->addItems({u"8"_s, u"9"_s, u"10"_s, u"11"_s, u"12"_s});
    m_bold = new QCheckBox(u"字体加粗"_s);
    m_bold->setObjectName(u"bold"_s);
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(u"字号"_s), 0, 0);
    grid->addWidget(m_sizes, 0, 1);
    grid->addWidget(new QLabel(u"磅"_s), 0, 2);
    grid->addWidget(new QLabel(u"字形"_s), 1, 0);
    grid->addWidget(m_bold, 1, 1, 1, 2);
    m_defaults = new QPushButton(u"还原默认值(O)"_s);
    m_apply = new QPushButton(u"设置(&S)"_s);
    m_apply->setEnabled(false);
    auto* quit = new QPushButton(u"退出(E)"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_defaults);
    buttons->addWidget(m_apply);
    buttons->addWidget(quit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);

    connect(m_sizes, &QComboBox::currentIndexChanged, this, [this] { m_apply->setEnabled(true); });
    connect(m_bold, &QCheckBox::toggled, this, [this] { m_apply->setEnabled(true); });
    connect(m_apply, &QPushButton::clicked, this, &MonitorFontWindow::apply);
    connect(m_defaults, &QPushButton::clicked, this, &MonitorFontWindow::restoreDefaults);
    connect(quit, &QPushButton::clicked, this, &QWidget::hide);
}

void MonitorFontWindow::showEvent(QShowEvent* event)
{
    const ledger::MonitorFont font = m_monitor.gridFont();
    m_sizes->setCurrentIndex(font.sizeIndex);
    m_bold->setChecked(font.bold);
    m_apply->setEnabled(false);
    QDialog::showEvent(event);
}

void MonitorFontWindow::apply()
{
    m_apply->setEnabled(false);
    m_monitor.setGridFont({m_sizes->currentIndex(), m_bold->isChecked()});
}

void MonitorFontWindow::restoreDefaults()
{
    m_sizes->setCurrentIndex(0);
    m_bold->setChecked(false);
    apply();
    m_apply->setEnabled(true);
}

} // namespace corvanta::windows
