#include "JournalMenu.h"

#include "journal/NoteTexts.h"

namespace corvanta::windows {

JournalMenu::JournalMenu(QWidget* parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("journalMenu"));
    m_delete = QMenu::addAction(QStringLiteral("删除记录(&D)"));
    m_clear = QMenu::addAction(QStringLiteral("数据清空(&C)"));
    m_rate = QMenu::addAction(QStringLiteral("评级加星(P)"));
    m_mainWindow = QMenu::addAction(journal::texts::hideMainWindow.toString());
    QMenu* filters = addMenu(QStringLiteral("过滤(&G)"));
    const std::pair<const char16_t*, journal::RatingFilter> items[] = {
        {u"显示全部(&A)", journal::RatingFilter::All},
        {u"显示五星(&W)", journal::RatingFilter::FiveStars},
        {u"显示四星(&S)", journal::RatingFilter::FourStars},
        {u"显示三星(&T)", journal::RatingFilter::ThreeStars},
        {u"显示二星(&E)", journal::RatingFilter::TwoStars}};
    for (const auto& [text, filter] : items) {
        QAction* action = filters->addAction(QString::fromUtf16(text));
        connect(action, &QAction::triggered, this, [this, f = filter] { Q_EMIT filterChosen(f); });
        m_filters.append(action);
    }
    m_add = QMenu::addAction(QStringLiteral("添加新待选股票(&A)"));
    m_add->setVisible(false);
}

QAction* JournalMenu::filterAction(journal::RatingFilter filter) const
{
    return m_filters.value(int(filter));
}

} // namespace corvanta::windows
