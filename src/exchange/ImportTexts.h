#pragma once

#include "StatementLayout.h"
#include "StatementParser.h"
#include "ledger/StatementImport.h"

#include <QString>
#include <QStringList>

#include <optional>

// The texts the import window and the command line show around an import.
namespace corvanta::exchange {

// The caption of the statement list: the broker's name, "  交易记录导入列表".
QString importListCaption(const StatementLayout& layout);

enum class ImportFileKind { Text, Csv };

// The open dialog's filters (Qt form): those of the chosen kind, or all four
// before the user first chooses a kind.
QStringList importFileFilters(std::optional<ImportFileKind> kind);

// The statement's lines as the window's list numbers them (its data lines, from
// 1), for the statement's own line numbers; a line outside the list keeps its number.
QList<int> listedLines(const ParsedStatement& statement, const QList<int>& lines);

// The question before writing when some lines are in the ledger already; none
// when no line is.
std::optional<QString> duplicatesQuestion(const QList<int>& lines);

// The refusal when the statement gives no trade at all, as a file in another
// broker's layout or no statement does; none when it gives one or more. Such a
// file is never imported: with "原数据是否清空" answered yes it would empty the
// ledger and report success.
std::optional<QString> nothingToImport(const ParsedStatement& statement,
                                       const StatementLayout& layout);

// The closing message: "导入完成" with the number of trades imported and of lines
// skipped, the lines that could not be read and the lines left out as
// duplicates; or, when nothing was written, the line that stopped the import and
// why. Lines are numbered as the window's list shows them.
QString importReport(const ParsedStatement& statement,
                     const ledger::StatementImportOutcome& outcome);

} // namespace corvanta::exchange
