#include "FeeRuleController.h"

#include "FeeController.h"
#include "InputBox.h"
#include "MainMenus.h"
#include "ParametersPanel.h"
#include "calc/Numbers.h"
#include "ledger/LedgerWriter.h"
#include "ledger/sql/Database.h"
#include "windows/DatabaseFailure.h"
#include "windows/Prompter.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

namespace corvanta::app {

FeeRuleController::FeeRuleController(sql::Database& db, ledger::LedgerWriter& writer,
                                     QWidget& window, ParametersPanel& parameters, MainMenus& menus,
                                     FeeController& fees, windows::Prompter& prompter)
    : QObject(&window), m_db(db), m_writer(writer), m_window(window), m_parameters(parameters),
      m_menus(menus), m_fees(fees), m_prompter(prompter)
{
    connect(m_parameters.feeRule, &QComboBox::activated, this, [this](int index) {
        ledger::FeeRuleSetting setting = m_fees.feeRule();
        setting.choice = FeeRuleChoice(m_parameters.feeRule->itemData(index).toInt());
        choose(setting);
    });
    connect(m_menus.feeRules, &QActionGroup::triggered, this, [this](QAction* action) {
        ledger::FeeRuleSetting setting = m_fees.feeRule();
        setting.choice = FeeRuleChoice(action->data().toInt());
        choose(setting);
    });
    connect(m_menus.commissionMinimum, &QAction::triggered, this,
            &FeeRuleController::editCommissionMinimum);
}

void FeeRuleController::load()
{
    m_fees.setFeeRule(ledger::loadFeeRuleSetting(m_db));
    show();
}

bool FeeRuleController::choose(const ledger::FeeRuleSetting& setting)
{
    if (setting == m_fees.feeRule()) {
        show();
        return true;
    }
    try {
        m_writer.saveFeeRule(setting);
    } catch (const sql::Error& error) {
        show();
        windows::showDatabaseFailure(m_prompter, windows::LedgerAccess::Write, error);
        return false;
    }
    m_fees.setFeeRule(setting);
    show();
    return true;
}

void FeeRuleController::editCommissionMinimum()
{
    const ledger::FeeRuleSetting current = m_fees.feeRule();
    const auto entry =
        showInputBox(&m_window, u"最低佣金"_s,
                     u"按交易日期的法定规则时，每笔交易佣金的最低金额（0到5元，免收时填0）："_s,
                     num::general(current.commissionMinimum),
                     m_window.frameGeometry().topLeft() + QPoint(60, 120));
    if (!entry)
        return;
    const auto minimum = num::parseNumber(*entry);
    if (!minimum || *minimum < 0 || *minimum > largestCommissionMinimum) {
        m_prompter.inform(u"最低佣金应为0到5元之间的数字，没有改动。"_s);
        return;
    }
    ledger::FeeRuleSetting setting = current;
    setting.commissionMinimum = *minimum;
    choose(setting);
}

void FeeRuleController::show()
{
    const ledger::FeeRuleSetting& setting = m_fees.feeRule();
    {
        const QSignalBlocker blockCombo(m_parameters.feeRule);
        m_parameters.feeRule->setCurrentIndex(m_parameters.feeRule->findData(int(setting.choice)));
    }
    m_menus.commissionMinimum->setToolTip(u"现为 "_s + num::general(setting.commissionMinimum) +
                                          u" 元"_s);
    for (QAction* action : m_menus.feeRules->actions()) {
        if (action->data().toInt() == int(setting.choice))
            action->setChecked(true);
    }
}

} // namespace corvanta::app
