#include "GenericMappingMemory.h"

#include <QCryptographicHash>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

// Settings keys must be plain: the header is known by a hash of its names.
QString keyOf(const QStringList& header)
{
    const QByteArray names = header.join(u'\t').toUtf8();
    return u"GenericStatementMappings/"_s +
           QString::fromLatin1(QCryptographicHash::hash(names, QCryptographicHash::Sha1).toHex());
}

} // namespace

std::optional<ColumnMapping> GenericMappingMemory::recall(const QStringList& header) const
{
    const QStringList words = m_settings.value(keyOf(header)).toStringList();
    if (words.isEmpty())
        return std::nullopt;
    ColumnMapping mapping;
    for (const QString& word : words) {
        const qsizetype equals = word.indexOf(u'=');
        const auto field = fieldOfKey(QStringView(word).left(equals));
        bool number = false;
        const int column = word.mid(equals + 1).toInt(&number);
        if (equals <= 0 || !field || !number || column < -1 || column >= header.size())
            return std::nullopt; // written by another version: detect anew
        mapping[*field] = column;
    }
    return mapping;
}

void GenericMappingMemory::remember(const QStringList& header, const ColumnMapping& mapping)
{
    QStringList words;
    for (int i = 0; i < statementFieldCount; ++i)
        words << fieldKey(StatementField(i)) + u'=' +
                     QString::number(mapping.columns[std::size_t(i)]);
    m_settings.setValue(keyOf(header), words);
}

} // namespace corvanta::exchange
