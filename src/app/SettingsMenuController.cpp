#include "SettingsMenuController.h"

#include "DesktopServices.h"
#include "FeeController.h"
#include "InputBox.h"
#include "MainMenus.h"
#include "ParametersPanel.h"
#include "ShortcutWriter.h"
#include "StatusBarPanels.h"
#include "TradePanel.h"
#include "TrayController.h"
#include "app/Version.h"
#include "ledger/LedgerWriter.h"
#include "ledger/sql/Database.h"
#include "market/NetworkState.h"
#include "market/ProxyAddress.h"
#include "windows/LedgerGuard.h"
#include "windows/Prompter.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMainWindow>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

QString proxyLine(const QString& host, int port)
{
    return u"代理IP:"_s + host + u":"_s + QString::number(port);
}

} // namespace

SettingsMenuController::SettingsMenuController(market::NetworkState& network, sql::Database& db,
                                               ledger::LedgerWriter& writer,
                                               MainWindowServices services, Parts parts)
    : QObject(&parts.window), m_network(network), m_db(db), m_writer(writer), m_services(services),
      m_parts(parts)
{
    MainMenus& m = m_parts.menus;
    connect(m.customTitle, &QAction::triggered, this, &SettingsMenuController::editTitle);
    connect(m.proxy, &QAction::triggered, this, &SettingsMenuController::editProxy);
    connect(m.saveSettings, &QAction::triggered, this, &SettingsMenuController::saveSettings);
    connect(m.desktopShortcut, &QAction::triggered, this,
            &SettingsMenuController::createDesktopShortcut);
    connect(m.calculator, &QAction::triggered, this, [this] {
        if (!m_services.desktop.startCalculator())
            m_services.prompter.inform(calculatorMissingMessage());
    });
    connect(m.checkUpdates, &QAction::triggered, this, [this] {
        m_services.prompter.inform(u"本程序没有在线更新服务。\n当前版本："_s +
                                   QString::fromLatin1(CORVANTA_VERSION));
    });
}

void SettingsMenuController::loadSettings()
{
    const ledger::LoadedSettings settings = ledger::loadSettings(m_db);
    m_parts.fees.setSavedRates(settings.rates);
    m_parts.fees.showStartRates(settings.buyOtherFeeText, settings.buyStampRateText,
                                settings.buyCommissionRateText);
    m_network.setProxy(settings.proxyHost, settings.proxyPort);
    m_monitorFont = settings.font;
}

void SettingsMenuController::saveSettings()
{
    ledger::SettingsToSave settings;
    settings.side = m_parts.parameters.direction();
    settings.otherFee = m_parts.trade.otherFee->text();
    settings.stampRate = m_parts.parameters.stampRate->currentText();
    settings.commissionRate = m_parts.parameters.commissionRate->currentText();
    settings.proxyHost = m_network.proxyHost();
    settings.proxyPort = m_network.proxyPort();
    settings.font = m_monitorFont;
    const auto saved = windows::withLedger(m_services.prompter, windows::LedgerAccess::Write, [&] {
        return m_writer.saveSettings(settings, m_parts.fees.savedRates());
    });
    if (!saved)
        return;
    m_parts.fees.setSavedRates(*saved);
    m_services.prompter.inform(ledger::savedMessage(settings.side));
}

QPoint SettingsMenuController::dialogPosition() const
{
    return m_parts.window.frameGeometry().topLeft() + QPoint(60, 120);
}

void SettingsMenuController::editTitle()
{
    const auto title = showInputBox(&m_parts.window, u"窗口标题"_s, u"请输入自定义窗口标题:　　"_s,
                                    u"Word文档编辑中... ..."_s, dialogPosition());
    if (!title || title->trimmed().isEmpty())
        return;
    m_parts.window.setWindowTitle(*title);
    m_parts.tray.setToolTip(*title);
    Q_EMIT titleChosen(*title);
}

void SettingsMenuController::editProxy()
{
    const bool set = m_network.hasProxy();
    const QString initial =
        set ? m_network.proxyHost() + u":"_s + QString::number(m_network.proxyPort())
            : u"X.X.X.X:X"_s;
    const QString prompt =
        set ? u"请输入代理服务器地址及端口号：\r代理服务器地址已设置并起用为如下地址："_s
            : u"代理服务器地址未设置起用\r请输入代理服务器地址及端口号："_s;
    const auto entry =
        showInputBox(&m_parts.window, u"代理服务器"_s, prompt, initial, dialogPosition());
    if (!entry)
        return;
    const auto proxy = parseProxyEntry(*entry);
    if (!proxy) {
        m_network.clearProxy();
        m_parts.status.setContactLine(QString());
        m_services.prompter.inform(u"代理服务器地址未设置起用"_s);
        return;
    }
    m_network.setProxy(proxy->host, proxy->port);
    m_parts.status.setContactLine(proxyLine(proxy->host, proxy->port));
    m_network.setStatusCycle(market::NetworkState::CycleOnProxyAccepted);
    m_services.prompter.inform(u"代理服务器地址已设置并起用为："_s + *entry);
}

void SettingsMenuController::createDesktopShortcut()
{
    const ShortcutResult result =
        app::createDesktopShortcut(m_services.shortcuts, QCoreApplication::applicationFilePath(),
                                   u" "_s, u"Corvanta 编写：Ostrel"_s);
    if (!result.ok())
        m_services.prompter.inform(result.error);
}

void SettingsMenuController::applyProxy()
{
    if (!m_network.hasProxy())
        return;
    m_network.useEnteredProxy();
    m_parts.status.setContactLine(proxyLine(m_network.proxyHost(), m_network.proxyPort()));
    m_network.setStatusCycle(market::NetworkState::CycleOnActivation);
}

} // namespace corvanta::app
