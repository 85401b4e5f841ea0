#pragma once

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvanta::windows {

// A small dialog that asks for one or more passwords without showing them. The
// fields are named "password0", "password1", … and the problem line "problem".
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(const QString& title, const QString& text, const QStringList& captions,
                   QWidget* parent = nullptr);

    // A second way to accept (such as removing the password); clicked() tells which.
    void addAlternative(const QString& text);
    bool alternativeChosen() const { return m_alternativeChosen; }
    // Shows why the last entry was not taken, and empties the fields.
    void setProblem(const QString& problem);
    // The text of a field as UTF-8; the field is emptied.
    QByteArray take(int field);

private:
    QLabel* m_problem;
    QList<QLineEdit*> m_fields;
    bool m_alternativeChosen = false;
};

// The passwords as UTF-8, zeroed when they go.
struct Passwords {
    QList<QByteArray> entries;
    bool alternative = false; // the alternative button was chosen
    ~Passwords();
};

// Shows `dialog` until `check` takes the entries (returns an empty problem) or the
// user cancels (none). A problem is shown in the dialog and it asks again.
std::optional<QString> askUntilTaken(PasswordDialog& dialog, int fields,
                                     const std::function<QString(const Passwords&)>& check);

} // namespace corvanta::windows
