#include "CommandLine.h"
#include "CsvExport.h"
#include "ReportCommands.h"
#include "ledger/sql/Database.h"
#include "report/YearlyStatement.h"

#include <QDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app {

int runYearlyCommand(sql::Database& db, const QString& file, QTextStream& out, QTextStream& err)
{
    try {
        const report::YearlyStatement statement = report::yearlyStatement(db);
        writeCsv(file,
                 {report::yearlyStatementTitles(), report::yearlyStatementRows(statement), {}});
    } catch (const CsvExportError& error) {
        err << error.message() << '\n';
        return CommandFailed;
    } catch (const sql::Error& error) {
        err << u"无法读取账本（"_s << error.message() << u"）。"_s << '\n';
        return CommandFailed;
    }
    out << u"年度对账已导出到 "_s << QDir::toNativeSeparators(file) << '\n';
    return CommandDone;
}

} // namespace corvanta::app
