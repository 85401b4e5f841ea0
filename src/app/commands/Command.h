#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "ledger/sql/Database.h"

#include <QFileDevice>

class QTextStream;

namespace corvanta::app::commands {

// What a command is given while it runs: the open ledger (the lock held), the
// words it was called with, and where to say things.
class CommandRun {
public:
    CommandRun(sql::Database& ledger, const QString& path, const QCommandLineParser& given,
               QTextStream& output, QTextStream& errors);

    sql::Database& db;
    const QString ledgerPath;
    // The command's options (isSet, value) and, in order, its arguments.
    const QCommandLineParser& words;
    QString argument(int index) const { return words.positionalArguments().value(index); }
    QTextStream& out;
    QTextStream& err;

    // Says `text` on the error stream; returns CommandFailed.
    int fail(const QString& text);
    // Says `text` on the error stream; returns CommandMisused (an unconfirmed or
    // incomplete call).
    int misused(const QString& text);
    // A safety copy before a change that replaces data; says where it went.
    // Without one it says why and returns nothing: the command must not go on.
    std::optional<QString> safetyCopy();
    // Removes the safety copy of a change that then failed and changed nothing.
    void dropSafetyCopy(const QString& copy);
};

// One command: its name, the words it takes, its help and the function that
// runs it. The table of them (CommandTable.cpp) is all the command line knows.
struct CommandEntry {
    QString name;
    // The call as the help shows it, e.g. "backup FILE", and what it does (lines).
    QString synopsis;
    QStringList help;
    // The options it accepts beyond --help; any other is a usage error.
    QList<QCommandLineOption> options;
    // Its arguments, all required, e.g. {"FILE"}; more or fewer are a usage error.
    QStringList arguments;
    // The first argument is a file the command writes: the ledger's own files
    // (the ledger, its journals, its lock, its safety copies) are refused first.
    bool writesFirstArgument = false;
    // Runs with the lock held and the ledger open; returns a CommandExit.
    int (*run)(CommandRun& run) = nullptr;
};

const QList<CommandEntry>& commandTable();

// The commands, each in its own file.
CommandEntry backupCommand();
CommandEntry restoreCommand();
CommandEntry importCommand();
CommandEntry exportLedgerCommand();
CommandEntry exportSummaryCommand();
CommandEntry yearlyCommand();
CommandEntry repriceCommand();
CommandEntry passwordCommand();
CommandEntry eventsCommand();
CommandEntry addEventCommand();

// "FILE" with native separators, as messages show paths.
QString shown(const QString& path);
// The reason of a database failure in words, the engine's own text in brackets.
QString inWords(sql::Error::Kind kind, const QString& detail);
QString inWords(const sql::Error& error);
// The reason a file could not be read or written in words, the system's text in
// brackets.
QString inWords(QFileDevice::FileError error, const QString& detail);

} // namespace corvanta::app::commands
