#include "JournalMemoPanel.h"

#include "journal/NoteTexts.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace corvanta::windows {

JournalMemoPanel::JournalMemoPanel(QWidget* parent)
    : QGroupBox(journal::texts::memoGroupCaption.toString(), parent),
      m_memo(new QPlainTextEdit(this)), m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("GroupBox2"));
    m_memo->setObjectName(QStringLiteral("Memo1"));
    QFont font(QStringLiteral("仿宋_GB2312"));
    font.setPixelSize(16);
    m_memo->setFont(font);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_menu->setObjectName(QStringLiteral("memoMenu"));
    connect(m_menu->addAction(QStringLiteral("保存(&S)")), &QAction::triggered, this,
            &JournalMemoPanel::saveRequested);
    connect(m_menu->addAction(QStringLiteral("全选(&A)")), &QAction::triggered, m_memo,
            &QPlainTextEdit::selectAll);
    connect(m_menu->addAction(QStringLiteral("复制(&C)")), &QAction::triggered, m_memo,
            &QPlainTextEdit::copy);
    connect(m_menu->addAction(QStringLiteral("粘贴(&P)")), &QAction::triggered, m_memo,
            &QPlainTextEdit::paste);
    m_memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_memo, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_memo->mapToGlobal(at)); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_memo);
}

} // namespace corvanta::windows
