#include "MainMenus.h"

#include "calc/StatutoryFees.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

// An item whose window or command is wired in by others: the main window keeps
// it disabled until they say it is available (model::Available).
QAction* later(QMenu* menu, const QString& text)
{
    return menu->addAction(text);
}

} // namespace

MainMenus::MainMenus(QMenuBar* bar, QWidget* owner) : QObject(owner)
{
    buildMenuBar(bar);
    buildTradePopup();
    buildLedgerPopup();
    buildTrayPopup();
}

void MainMenus::buildMenuBar(QMenuBar* bar)
{
    QMenu* system = bar->addMenu(u"系统(&O)"_s);
    hideToTray = system->addAction(u"最小化到系统托盘(&T)"_s);
    floatingBar = system->addAction(u"悬浮窗口显示(&W)"_s);
    system->addSeparator();
    addStock = system->addAction(u"添加股票(&A)"_s);
    clearLedger = system->addAction(u"数据库清空(&C)"_s);
    backup = later(system, u"数据备份恢复(I)"_s);
    brokerImport = later(system, u"证券商数据导入(&D)"_s);
    QMenu* sources = system->addMenu(u"数据来源(&L)"_s);
    sources->setToolTipsVisible(true);
    dataSources = new QActionGroup(this);
    for (const QString& name : {u"金融界"_s, u"新浪"_s, u"腾讯"_s, u"搜狐"_s, u"和讯"_s}) {
        QAction* source = sources->addAction(name);
        source->setCheckable(true);
        dataSources->addAction(source);
    }
    dataSources->actions().constFirst()->setChecked(true);
    system->addSeparator();
    exit = system->addAction(u"退出(&E)"_s);

    QMenu* settings = bar->addMenu(u"设置(&S)"_s);
    monitorFont = later(settings, u"实时监控字体设置(&F)"_s);
    customTitle = settings->addAction(u"自定义窗口标题(&Z)"_s);
    proxy = settings->addAction(u"代理服务器设置(&I)"_s);
    quoteServer = settings->addAction(u"行情服务器地址(&Q)"_s);
    QMenu* rules = settings->addMenu(u"费用规则(&R)"_s);
    feeRules = new QActionGroup(this);
    for (FeeRuleChoice choice : {FeeRuleChoice::SavedRates, FeeRuleChoice::ByTradeDate}) {
        QAction* rule = rules->addAction(feeRuleChoiceText(choice));
        rule->setCheckable(true);
        rule->setData(int(choice));
        feeRules->addAction(rule);
    }
    feeRules->actions().constFirst()->setChecked(true);
    rules->addSeparator();
    commissionMinimum = rules->addAction(u"最低佣金(&M)..."_s);
    sinaHost = settings->addAction(u"新浪行情地址(&X)"_s);
    tencentHost = settings->addAction(u"腾讯行情地址(&T)"_s);
    saveSettings = settings->addAction(u"保存当前设置(&S)"_s);
    desktopShortcut = settings->addAction(u"在桌面创建快捷方式(&C)"_s);
    ledgerPassword = settings->addAction(u"账本密码(&P)"_s);

    QMenu* help = bar->addMenu(u"帮助(&L)"_s);
    calculator = help->addAction(u"计算器(&C)"_s);
    tutorial = later(help, u"教程(&T)"_s);
    checkUpdates = help->addAction(u"检查更新(&R)"_s);
}

void MainMenus::buildTradePopup()
{
    tradePopup = new QMenu(static_cast<QWidget*>(parent()));
    tradeDetail = later(tradePopup, u"各价位盈亏明细"_s);
    tradeMonitor = tradePopup->addAction(u"实时监控(&D)"_s);
    tradeRefresh = later(tradePopup, u"个股行情实时刷新(&R)"_s);
    tradeRefresh->setCheckable(true);
    fetchPrice = tradePopup->addAction(u"获取当前价格(&H)"_s);
    directionMenu = tradePopup->addMenu(u"交易状态(&J)"_s);
    directionBuy = directionMenu->addAction(u"买入(&B)"_s);
    directionSell = directionMenu->addAction(u"卖出(&S)"_s);
    QMenu* market = tradePopup->addMenu(u"证券类型(&Z)"_s);
    marketShenzhen = market->addAction(u"深圳A股(&S)"_s);
    marketShanghai = market->addAction(u"上海A股(&H)"_s);
    marketWarrant = market->addAction(u"权证或基金(&Q)"_s);
    QMenu* record = tradePopup->addMenu(u"交易记录(&S)"_s);
    popupRecordSell = record->addAction(u"记录卖出(&S)"_s);
    popupRecordBuy = record->addAction(u"记录买入(&B)"_s);
    tradeSave = tradePopup->addAction(u"保存(&B)"_s);
    tradePopup->addSeparator();
    tradeJournalAdd = later(tradePopup, u"加入股票日志(&A)"_s);
    tradeJournalView = later(tradePopup, u"股票日志查看(&W)"_s);
    tradePopup->addSeparator();
    tradeEvents = tradePopup->addAction(u"分红送配(&F)"_s);
}

void MainMenus::buildLedgerPopup()
{
    ledgerPopup = new QMenu(static_cast<QWidget*>(parent()));
    ledgerDetail = later(ledgerPopup, u"各价位盈亏明细"_s);
    QMenu* sort = ledgerPopup->addMenu(u"排序(&S)"_s);
    sortByName = sort->addAction(u"按股票名称(&N)"_s);
    sortByDate = sort->addAction(u"按买卖日期(&D)"_s);
    summary = ledgerPopup->addAction(u"交易汇总(&H)"_s);
    accountCharts = ledgerPopup->addAction(u"账户图表"_s);
    yearlyStatement = ledgerPopup->addAction(u"年度对账"_s);
    stockTrades = later(ledgerPopup, u"该股交易明细(&L)"_s);
    popupDelete = ledgerPopup->addAction(u"删除记录(&D)"_s);
    ledgerMonitor = ledgerPopup->addAction(u"实时监控(&D)"_s);
    monitorListMenu = ledgerPopup->addMenu(u"监控列表(&K)"_s);
    monitorAdd = monitorListMenu->addAction(u"加入监控列表(&A)"_s);
    monitorRemove = monitorListMenu->addAction(u"监控列表中删除(&D)"_s);
    monitorAddAll = later(monitorListMenu, u"全部股票加入监控列表(&Q)"_s);
    monitorRemoveAll = later(monitorListMenu, u"全部股票从列表删除(&X)"_s);
    monitorAddUnsold = later(monitorListMenu, u"未卖出的全部加入列表(&L)"_s);
    monitorAddRange = later(monitorListMenu, u"某期间买入股票加入列表(T)"_s);
    monitorShowAll = later(monitorListMenu, u"显示所有被实时监控股票(&S)"_s);
    ledgerPopup->addSeparator();
    ledgerJournalAdd = later(ledgerPopup, u"加入股票日志(&A)"_s);
    ledgerJournalView = later(ledgerPopup, u"股票日志查看(&W)"_s);
    updateNames = ledgerPopup->addAction(u"更新股票代码名称(&R)"_s);
    ledgerPopup->addSeparator();
    ledgerEvents = ledgerPopup->addAction(u"分红送配(&F)"_s);
}

void MainMenus::buildTrayPopup()
{
    trayPopup = new QMenu(static_cast<QWidget*>(parent()));
    trayDetail = later(trayPopup, u"各价位盈亏明细"_s);
    trayRealtime = trayPopup->addAction(u"实时行情(&T)"_s);
    trayFloating = trayPopup->addAction(u"悬浮窗口(&F)"_s);
    trayRefresh = later(trayPopup, u"个股行情实时刷新(&R)"_s);
    trayRefresh->setCheckable(true);
    trayQuery = later(trayPopup, u"股票查询(&I)"_s);
    trayPopup->addSeparator();
    trayRestore = trayPopup->addAction(u"还原(&H)"_s);
    trayExit = trayPopup->addAction(u"退出(&X)"_s);
}

} // namespace corvanta::app
