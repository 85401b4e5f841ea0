#pragma once

#include "ledger/FeeRuleSetting.h"

#include <QObject>

class QWidget;

namespace corvanta::sql {
class Database;
}
namespace corvanta::ledger {
class LedgerWriter;
}
namespace corvanta::windows {
class Prompter;
}

namespace corvanta::app {

class FeeController;
class MainMenus;
class ParametersPanel;

// The fee-rule choice, in the fee group and under 设置(&S) → 费用规则(&R), and the
// commission minimum of the rules by date. A change is stored in the ledger at
// once and then prices the trade on show; when the ledger refuses the write the
// user is told and the fee group, the menu and the pricing keep the rule they had.
// Recorded trades are never priced again.
class FeeRuleController : public QObject {
    Q_OBJECT
public:
    FeeRuleController(sql::Database& db, ledger::LedgerWriter& writer, QWidget& window,
                      ParametersPanel& parameters, MainMenus& menus, FeeController& fees,
                      windows::Prompter& prompter);

    // Reads the ledger's rows at start and shows them.
    void load();
    // False when the ledger refused the write.
    bool choose(const ledger::FeeRuleSetting& setting);
    // "最低佣金(&M)...": asks for the minimum, 0 to 5 yuan; anything else is refused
    // with a message and nothing changes.
    void editCommissionMinimum();

private:
    void show();

    sql::Database& m_db;
    ledger::LedgerWriter& m_writer;
    QWidget& m_window;
    ParametersPanel& m_parameters;
    MainMenus& m_menus;
    FeeController& m_fees;
    windows::Prompter& m_prompter;
};

} // namespace corvanta::app
