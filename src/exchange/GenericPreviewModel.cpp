#include "GenericPreviewModel.h"

#include "calc/Numbers.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

const QStringList columnTitles = {u"行"_s,   u"日期"_s,   u"代码"_s, u"名称"_s,   u"买卖"_s,
                                  u"数量"_s, u"价格"_s,   u"佣金"_s, u"印花税"_s, u"过户费"_s,
                                  u"费用"_s, u"总金额"_s, u"说明"_s};

} // namespace

void GenericPreviewModel::setStatement(const GenericStatement& statement)
{
    beginResetModel();
    m_rows.clear();
    QHash<int, QString> warnings;
    for (const LineIssue& warning : statement.warnings)
        warnings.insert(warning.line, warning.reason);
    QList<std::pair<int, Row>> rows;
    for (const ledger::StatementTrade& trade : statement.parsed.trades) {
        const QString warning = warnings.value(trade.line);
        rows.append({trade.line,
                     {{QString::number(trade.line), trade.date, trade.code, trade.name,
                       trade.operation, QString::number(trade.shares), num::general(trade.price),
                       num::general(trade.commission), num::general(trade.stampDuty),
                       num::general(trade.transferFee), num::general(trade.fees),
                       num::general(trade.total), warning.isEmpty() ? u"导入"_s : warning},
                      warning.isEmpty() ? tradeRgb : warningRgb}});
    }
    auto issueRow = [](const LineIssue& issue, const QString& what, quint32 rgb) {
        QStringList cells(columnTitles.size());
        cells[0] = QString::number(issue.line);
        cells.last() = what + issue.reason;
        return std::pair<int, Row>{issue.line, {cells, rgb}};
    };
    for (const LineIssue& issue : statement.parsed.skipped)
        rows.append(issueRow(issue, u"跳过："_s, skippedRgb));
    for (const LineIssue& issue : statement.parsed.refused)
        rows.append(issueRow(issue, u"无法识别："_s, refusedRgb));
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& row : rows)
        m_rows.append(std::move(row.second));
    endResetModel();
}

int GenericPreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GenericPreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columnTitles.size());
}

QVariant GenericPreviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& row = m_rows.at(index.row());
    if (role == Qt::DisplayRole)
        return row.cells.value(index.column());
    if (role == RowColourRole)
        return row.rgb;
    return {};
}

QVariant GenericPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return columnTitles.value(section);
    return section + 1;
}

} // namespace corvanta::exchange
