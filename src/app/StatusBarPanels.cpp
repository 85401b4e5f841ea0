#include "StatusBarPanels.h"

#include <QLabel>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

QLabel* panel(QStatusBar* bar, const QString& text, int stretch)
{
    auto* label = new QLabel(text, bar);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::StyledPanel);
    bar->addWidget(label, stretch);
    return label;
}

} // namespace

QString productLine(const QString& version)
{
    return u"Corvanta 编写:Ostrel Ver "_s + version;
}

StatusBarPanels::StatusBarPanels(QStatusBar* bar, const QString& version) : QObject(bar)
{
    bar->setSizeGripEnabled(false);
    product = panel(bar, productLine(version), 3);
    product->setObjectName(u"statusProduct"_s);
    contact = panel(bar, QString(), 3);
    contact->setObjectName(u"statusContact"_s);
    network = panel(bar, u"网络状态"_s, 2);
    network->setObjectName(u"statusNetwork"_s);
}

void StatusBarPanels::setContactLine(const QString& text)
{
    m_contactShown = !text.isEmpty();
    contact->setText(m_contactShown ? text : m_sourceLine);
}

void StatusBarPanels::setSourceLine(const QString& text)
{
    m_sourceLine = text;
    if (!m_contactShown)
        contact->setText(text);
}

void StatusBarPanels::setNetworkState(const QString& text)
{
    network->setText(text);
}

} // namespace corvanta::app
