#pragma once

#include <QString>

class QWidget;

namespace corvanta::windows {

// The program's title as the user knows it: the caption of its plain messages.
inline QString applicationTitle()
{
    return QStringLiteral("Corvanta  Ostrel");
}

// The program's modal questions and messages, behind an interface so tests can
// answer them without a message box.
class Prompter {
public:
    // The answer Enter gives.
    enum class Default { No, Yes };

    virtual ~Prompter() = default;
    // A Yes/No question with the stop icon and No as the default; true on Yes.
    virtual bool askYesNo(const QString& caption, const QString& text) = 0;
    // An information message with an OK button.
    virtual void inform(const QString& text) = 0;
    // A question that belongs to the window `asker`: it shows over that window,
    // with `preferred` as the default answer.
    virtual bool askOver(QWidget* asker, const QString& caption, const QString& text,
                         Default preferred)
    {
        Q_UNUSED(asker);
        Q_UNUSED(preferred);
        return askYesNo(caption, text);
    }
    // A message that belongs to the window `asker`.
    virtual void informOver(QWidget* asker, const QString& text)
    {
        Q_UNUSED(asker);
        inform(text);
    }
};

// Message boxes over the active window, or the parent window when none is; a
// plain message is captioned with the application's title.
class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    // The window the boxes are centred on, once it exists.
    void setParent(QWidget* parent) { m_parent = parent; }
    bool askYesNo(const QString& caption, const QString& text) override;
    void inform(const QString& text) override;
    bool askOver(QWidget* asker, const QString& caption, const QString& text,
                 Default preferred) override;
    void informOver(QWidget* asker, const QString& text) override;

private:
    QWidget* owner() const;

    QWidget* m_parent;
};

} // namespace corvanta::windows
