// The charts module's entry: the program loads it the first time the charts open.
#include "AccountChartWindow.h"

#include <QObject>

namespace corvanta::windows {

class AccountChartsPlugin : public QObject, public AccountChartsModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID CORVANTA_ACCOUNT_CHARTS_MODULE_IID)
    Q_INTERFACES(corvanta::windows::AccountChartsModule)
public:
    AccountCharts* createCharts(sql::Database& db, ledger::LedgerNotifier& notifier,
                                QWidget* parent) override
    {
        return new AccountChartWindow(db, notifier, parent);
    }
};

} // namespace corvanta::windows

#include "AccountChartsPlugin.moc"
