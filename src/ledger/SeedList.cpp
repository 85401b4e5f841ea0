#include "SeedList.h"

#include <QFile>

#include <stdexcept>
#include <string>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

constexpr auto resourcePath = u":/data/seed-stocks.txt";

} // namespace

std::optional<SeedStock> parseSeedEntry(QStringView line)
{
    if (line.size() < 2 || !line.startsWith(u'[') || !line.endsWith(u'['))
        return std::nullopt;
    const QStringView inner = line.sliced(1, line.size() - 2);
    const auto fields = inner.split(u"[,[");
    if (fields.size() != 3)
        return std::nullopt;
    SeedStock stock{fields[0].toString(), fields[1].toString(), fields[2].toString()};
    // A stray bracket means the line was not written in this form.
    for (const QString& field : {stock.code, stock.name, stock.pinyin}) {
        if (field.contains(u'['))
            return std::nullopt;
    }
    if (stock.code.isEmpty() || stock.name.isEmpty())
        return std::nullopt;
    return stock;
}

QList<SeedStock> loadSeedList()
{
    QFile file(QString::fromUtf16(resourcePath));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the built-in stock list is missing");
    const QString text = QString::fromUtf8(file.readAll());

    QList<SeedStock> stocks;
    qsizetype lineNumber = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        std::optional<SeedStock> stock = parseSeedEntry(line);
        if (!stock) {
            throw std::runtime_error("the built-in stock list is damaged at line " +
                                     std::to_string(lineNumber));
        }
        stocks.append(std::move(*stock));
    }
    return stocks;
}

} // namespace corvanta::ledger
