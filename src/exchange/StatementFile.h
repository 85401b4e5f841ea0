#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace corvanta::exchange {

// A statement file's bytes, or why they could not be read.
struct StatementFileContents {
    std::optional<QByteArray> bytes;
    QString error; // a sentence for the user naming the file and the reason
};

// Reads a statement file. Qt turns file names into text as UTF-8, so a name
// saved in GBK (a file copied from Windows) reaches the program with its
// Chinese characters replaced by U+FFFD, or is shown as the characters it
// means; either way no file has that name. Such a path is matched against the
// folder's real names, byte for byte: the one name that reads as the given
// text, or the GBK form of the given text. The file is then opened by its bytes.
StatementFileContents readStatementFile(const QString& path);

} // namespace corvanta::exchange
