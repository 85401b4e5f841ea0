#include "JournalButtonBar.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace corvanta::windows {

JournalButtonBar::JournalButtonBar(QWidget* parent)
    : QWidget(parent), m_code(new QLineEdit(this)),
      m_save(new QPushButton(QStringLiteral("保存修改(&S)"), this)),
      m_add(new QPushButton(QStringLiteral("添加新日志(&A)"), this)),
      m_delete(new QPushButton(QStringLiteral("删除当前日志(&D)"), this)),
      m_exit(new QPushButton(QStringLiteral("退出(&X)"), this))
{
    m_code->setObjectName(QStringLiteral("edt1"));
    m_code->setMaxLength(6);
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_add->setObjectName(QStringLiteral("addButton"));
    m_delete->setObjectName(QStringLiteral("deleteButton"));
    m_exit->setObjectName(QStringLiteral("exitButton"));
    m_add->setEnabled(false);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_code);
    layout->addWidget(m_save);
    layout->addWidget(m_add);
    layout->addWidget(m_delete);
    layout->addWidget(m_exit);
}

} // namespace corvanta::windows
