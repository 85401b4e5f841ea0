#pragma once

#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>

#include <QList>

namespace corvanta::testsupport {

// The SHA-256 of a file's bytes, in hex; empty when it cannot be read. Equal
// before and after means a command left the file untouched.
inline QByteArray fileSha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

// The SHA-256, in hex, of every row the queries return, NULL told apart from an
// empty text. Equal digests mean equal ledgers whatever the file's encryption makes
// of its bytes.
inline QByteArray rowsDigest(sql::Database& db, const QList<const char*>& queries)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char* sql : queries) {
        auto query = db.prepare(sql);
        while (query.step()) {
            for (int column = 0; column < query.columnCount(); ++column)
                hash.addData(
                    (query.isNull(column) ? QStringLiteral("<null>|") : query.text(column) + u'|')
                        .toUtf8());
            hash.addData("\n");
        }
        hash.addData("--\n");
    }
    return hash.result().toHex();
}

} // namespace corvanta::testsupport
