#include "FeeRuleController.h"

#include "FeeController.h"
#include "MainMenus.h"
#include "ParametersPanel.h"
#include "ledger/sql/Database.h"
#include "windows/DatabaseFailure.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSignalBlocker>

namespace corvanta::app {

FeeRuleController::FeeRuleController(sql::Database& db, ParametersPanel& parameters,
                                     MainMenus& menus, FeeController& fees,
                                     windows::Prompter& prompter, QObject* parent)
    : QObject(parent), m_db(db), m_parameters(parameters), m_menus(menus), m_fees(fees),
      m_prompter(prompter)
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
    // Only a finished entry (Enter, leaving the box, an arrow) is stored.
    m_parameters.commissionMinimum->setKeyboardTracking(false);
    connect(m_parameters.commissionMinimum, &QDoubleSpinBox::valueChanged, this,
            [this](double minimum) {
                ledger::FeeRuleSetting setting = m_fees.feeRule();
                setting.commissionMinimum = minimum;
                choose(setting);
            });
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
        ledger::saveFeeRuleSetting(m_db, setting);
    } catch (const sql::Error& error) {
        show();
        windows::showDatabaseFailure(m_prompter, windows::LedgerAccess::Write, error);
        return false;
    }
    m_fees.setFeeRule(setting);
    show();
    return true;
}

void FeeRuleController::show()
{
    const ledger::FeeRuleSetting& setting = m_fees.feeRule();
    {
        const QSignalBlocker blockCombo(m_parameters.feeRule);
        m_parameters.feeRule->setCurrentIndex(m_parameters.feeRule->findData(int(setting.choice)));
    }
    {
        const QSignalBlocker blockMinimum(m_parameters.commissionMinimum);
        m_parameters.commissionMinimum->setValue(setting.commissionMinimum);
    }
    for (QAction* action : m_menus.feeRules->actions()) {
        if (action->data().toInt() == int(setting.choice))
            action->setChecked(true);
    }
}

} // namespace corvanta::app
