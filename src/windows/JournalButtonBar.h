#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace corvanta::windows {

// The journal's button bar: the code field and the save, add, delete and exit
// buttons. "添加新日志(&A)" stays disabled until a code has been entered.
class JournalButtonBar : public QWidget {
    Q_OBJECT
public:
    explicit JournalButtonBar(QWidget* parent = nullptr);

    QLineEdit* codeField() const { return m_code; } // edt1
    QPushButton* saveButton() const { return m_save; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* exitButton() const { return m_exit; }

private:
    QLineEdit* m_code;
    QPushButton* m_save;
    QPushButton* m_add;
    QPushButton* m_delete;
    QPushButton* m_exit;
};

} // namespace corvanta::windows
