#pragma once

#include <QGroupBox>

class QMenu;
class QPlainTextEdit;

namespace corvanta::windows {

// The group "日记内容": the selected note's text, with its own context menu
// "保存(&S)", "全选(&A)", "复制(&C)", "粘贴(&P)" (the last two through the clipboard).
class JournalMemoPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit JournalMemoPanel(QWidget* parent = nullptr);

    QPlainTextEdit* memo() const { return m_memo; }
    QMenu* contextMenu() const { return m_menu; }

Q_SIGNALS:
    void saveRequested();

private:
    QPlainTextEdit* m_memo;
    QMenu* m_menu;
};

} // namespace corvanta::windows
