#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvanta::app {

// The modal one-line input box: caption, a word-wrapping prompt, an input that
// starts with the value fully selected, and "确定(&O)" / "取消(&C)". Sizes are in
// dialog units of the dialog's font, so the box scales with the font in use.
class InputBoxDialog : public QDialog {
    Q_OBJECT
public:
    InputBoxDialog(QWidget* parent, const QString& caption, const QString& prompt,
                   const QString& value, QPoint topLeft);

    // The edited text after OK; nothing after Cancel or closing the box.
    std::optional<QString> outcome() const;

    QLabel* promptLabel() const { return m_prompt; }
    QLineEdit* input() const { return m_input; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QLabel* m_prompt;
    QLineEdit* m_input;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

// The font of the box: 宋体 9 pt where installed, otherwise the application's
// font family at 9 pt.
QFont inputBoxFont();

// Shows the box modally at topLeft (frame position); the edited text on OK,
// nothing on Cancel, even when the text was edited.
std::optional<QString> showInputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                    const QString& value, QPoint topLeft);

} // namespace corvanta::app
