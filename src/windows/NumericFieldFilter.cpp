#include "NumericFieldFilter.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

NumericKey classify(const QKeyEvent* key, QChar& digit)
{
    switch (key->key()) {
    case Qt::Key_Backspace:
        return NumericKey::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return NumericKey::Enter;
    default:
        break;
    }
    const QString text = key->text();
    if (text == u".")
        return NumericKey::Point;
    if (text.size() == 1 && text[0] >= u'0' && text[0] <= u'9') {
        digit = text[0];
        return NumericKey::Digit;
    }
    return NumericKey::Other;
}

bool isEditingKey(const QKeyEvent* key)
{
    // Navigation, deletion and shortcuts pass: only typed characters are filtered.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    return !key->text().isEmpty() && key->text()[0].isPrint();
}

} // namespace

NumericFieldFilter::NumericFieldFilter(QLineEdit* edit, NumericField rules, QWidget* next)
    : NumericFieldFilter(edit, edit, rules)
{
    m_next = next;
}

NumericFieldFilter::NumericFieldFilter(QWidget* keyReceiver, QLineEdit* edit, NumericField rules)
    : QObject(edit), m_receiver(keyReceiver), m_edit(edit), m_rules(rules), m_next(nullptr)
{
    keyReceiver->installEventFilter(this);
    if (keyReceiver != edit)
        edit->installEventFilter(this); // keys sent to the line edit itself
    // Pasting bypasses the keys: the text must still read as a plain number.
    const auto shape = rules == NumericField::Quantity ? u"[0-9]*"_s : u"[0-9]*\\.?[0-9]*"_s;
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(shape), edit));
}

// An input method delivers its text without key presses: each committed character
// must pass the rules that a typed key would, or the commit is refused whole.
bool NumericFieldFilter::commitAccepted(const QString& commit) const
{
    QString text = m_edit->text();
    for (QChar c : commit) {
        const NumericKey kind = c == u'.'                  ? NumericKey::Point
                                : (c >= u'0' && c <= u'9') ? NumericKey::Digit
                                                           : NumericKey::Other;
        if (!fieldKeyAccepted(m_rules, text, kind, c))
            return false;
        text.append(c);
    }
    return true;
}

bool NumericFieldFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_receiver && watched != m_edit)
        return false;
    if (event->type() == QEvent::InputMethod) {
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (input->commitString().isEmpty() || commitAccepted(input->commitString()))
            return false;
        // Keep the composition state in step, without the refused text.
        QInputMethodEvent withoutCommit(input->preeditString(), input->attributes());
        QCoreApplication::sendEvent(watched, &withoutCommit);
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    QChar digit;
    const NumericKey kind = classify(key, digit);
    if (kind == NumericKey::Enter) {
        if (m_next)
            m_next->setFocus(Qt::OtherFocusReason);
        return m_next != nullptr;
    }
    if (kind == NumericKey::Backspace || (kind == NumericKey::Other && !isEditingKey(key)))
        return false;
    // The rules read the whole text before the key, selected or not: a "0" typed
    // over a selected "0" is refused like one typed after it.
    return !fieldKeyAccepted(m_rules, m_edit->text(), kind, digit);
}

SelectAllOnEntry::SelectAllOnEntry(QLineEdit* edit) : QObject(edit), m_edit(edit)
{
    edit->installEventFilter(this);
}

bool SelectAllOnEntry::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonRelease)) {
        QTimer::singleShot(0, m_edit, [edit = m_edit] { edit->selectAll(); });
    }
    return false;
}

} // namespace corvanta::windows
