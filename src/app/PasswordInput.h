#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace corvanta::app {

// A password read from a file, or why the file was refused.
struct PasswordFile {
    QByteArray password; // without the line end that closes it
    QString refusal;     // a sentence for the user; empty when read
};

// Reads a password file. One that its group or others may read or write is
// refused, since the password would not be the owner's alone.
PasswordFile readPasswordFile(const QString& path);

// Asks on the terminal, without echo; none when the input is no terminal.
std::optional<QByteArray> askOnTerminal(const QString& prompt);

} // namespace corvanta::app
