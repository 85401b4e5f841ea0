#pragma once

#include "journal/Ratings.h"

#include <QMenu>

namespace corvanta::windows {

// The journal window's context menu: delete, clear, rate, hide the main window and
// the filters, with the hidden item that adds a note.
class JournalMenu : public QMenu {
    Q_OBJECT
public:
    explicit JournalMenu(QWidget* parent = nullptr);

    QAction* deleteAction() const { return m_delete; }
    QAction* clearAction() const { return m_clear; }
    QAction* rateAction() const { return m_rate; }
    QAction* mainWindowAction() const { return m_mainWindow; } // 隐藏主窗口 / 显示主窗口
    QAction* addAction() const { return m_add; }               // hidden
    QAction* filterAction(journal::RatingFilter filter) const;

Q_SIGNALS:
    void filterChosen(corvanta::journal::RatingFilter filter);

private:
    QAction* m_delete;
    QAction* m_clear;
    QAction* m_rate;
    QAction* m_mainWindow;
    QAction* m_add;
    QList<QAction*> m_filters;
};

} // namespace corvanta::windows
