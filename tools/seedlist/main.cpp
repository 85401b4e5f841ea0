// Builds the shipped stock list data/seed-stocks.txt from the two tab-separated
// source tables (code, name, source), keeping every row in file order:
//
//   corvanta_seedlist a-share-stocks.tsv funds-warrants.tsv data/seed-stocks.txt
//
// Each line of the output is "[code[,[name[,[PINYIN[", the first one being the
// placeholder stock. The name is the most recent one a row knows of, the pinyin
// code is computed by the program's own pinyinCode, cut to the column's 8 places.

#include "exchange/PinyinCode.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

struct Entry {
    QString code;
    QString name;
};

constexpr qsizetype pinyinWidth = 8;

[[noreturn]] void fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

// The last name of the "later: a@S1 | b@S2,S3" list of the source column, if any.
QString mostRecentName(const QString& name, const QString& source)
{
    const QString marker = u"later: "_s;
    const qsizetype at = source.indexOf(marker);
    if (at < 0)
        return name;
    const QString lastEntry = source.mid(at + marker.size()).split(u" | "_s).constLast();
    const qsizetype sources = lastEntry.lastIndexOf(u'@');
    const QString later = sources < 0 ? lastEntry : lastEntry.left(sources);
    return later.trimmed().isEmpty() ? name : later.trimmed();
}

// A name or code must not break the bracketed form or the line structure.
void checkField(const QString& field, const QString& where)
{
    if (field.trimmed().isEmpty())
        fail(where + u": empty field"_s);
    if (field.contains(u'[') || field.contains(u'\n') || field.contains(u'\r'))
        fail(where + u": field holds '[' or a line break: "_s + field);
}

QList<Entry> readTable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path + u": "_s + file.errorString());
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (lines.isEmpty() || !lines.first().startsWith(u"code\tname\tsource"_s))
        fail(path + u": the header line is not code, name, source"_s);

    QList<Entry> entries;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QString where = path + u':' + QString::number(i + 1);
        const QStringList columns = line.split(u'\t');
        if (columns.size() != 3)
            fail(where + u": expected three tab-separated columns"_s);
        const Entry entry{columns.at(0).trimmed(), mostRecentName(columns.at(1), columns.at(2))};
        checkField(entry.code, where);
        checkField(entry.name, where);
        entries.append(entry);
    }
    return entries;
}

QString bracketed(const Entry& entry)
{
    const QString pinyin = corvanta::pinyinCode(entry.name).left(pinyinWidth);
    return u'[' + entry.code + u"[,["_s + entry.name + u"[,["_s + pinyin + u'[';
}

void writeList(const QList<Entry>& entries, const QString& path)
{
    QString text;
    QSet<QString> codes;
    for (const Entry& entry : entries) {
        if (codes.contains(entry.code))
            fail(u"code "_s + entry.code + u" appears twice"_s);
        codes.insert(entry.code);
        text += bracketed(entry) + u'\n';
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        fail(path + u": "_s + file.errorString());
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s a-share-stocks.tsv funds-warrants.tsv seed-stocks.txt\n",
                     argv[0]);
        return 2;
    }
    try {
        // The stock picker falls back to this placeholder, so it always comes first.
        QList<Entry> entries{{u"000000"_s, u"无名股票"_s}};
        entries += readTable(QString::fromLocal8Bit(argv[1]));
        entries += readTable(QString::fromLocal8Bit(argv[2]));
        writeList(entries, QString::fromLocal8Bit(argv[3]));
        std::printf("%lld entries written\n", static_cast<long long>(entries.size()));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
