#include "app/AppState.h"
#include "app/MainWindow.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    auto db = corvanta::sql::Database::openInMemory();
    corvanta::ledger::ensureSchema(db, {});
    corvanta::app::SessionState state;
    corvanta::app::MainWindow window(state, db);
    window.show();
    return app.exec();
}
