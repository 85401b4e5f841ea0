#include "ProfitLossMenu.h"

#include "DetailRefresh.h"

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

QString hideCaption()
{
    return u"隐藏主窗口(&H)"_s;
}

QString showCaption()
{
    return u"显示主窗口(&S)"_s;
}

} // namespace

ProfitLossMenu::ProfitLossMenu(QWidget* parent) : QMenu(parent)
{
    copyAction = addAction(u"复制(&C)"_s);
    foldAction = addAction(u"折叠(&Z)"_s);
    QMenu* intervals = addMenu(u"时间间隔(&T)"_s);
    const auto& table = refreshIntervals();
    for (int i = 0; i < table.size(); ++i) {
        QAction* action = intervals->addAction(table[i].item);
        connect(action, &QAction::triggered, this, [this, i] { Q_EMIT intervalChosen(i); });
        intervalActions.append(action);
    }
    stopAction = intervals->addAction(u"停止(&S)"_s);
    addSeparator();
    mainWindowAction = addAction(hideCaption());
    connect(mainWindowAction, &QAction::triggered, this, &ProfitLossMenu::toggleMainWindow);
}

void ProfitLossMenu::toggleMainWindow()
{
    if (mainWindowAction->text() == hideCaption()) {
        mainWindowAction->setText(showCaption());
        Q_EMIT hideMainWindowChosen();
    } else {
        mainWindowAction->setText(hideCaption());
        Q_EMIT showMainWindowChosen();
    }
}

} // namespace corvanta::windows
