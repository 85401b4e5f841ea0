#pragma once

#include "calc/NumericKeyFilter.h"

#include <QObject>

class QLineEdit;
class QWidget;

namespace corvanta::windows {

// Applies the numeric key rules to a line edit: refused keys never reach it, and
// pasted text must have the shape of a number too. Enter moves the focus to `next`
// when one is given.
class NumericFieldFilter : public QObject {
    Q_OBJECT
public:
    NumericFieldFilter(QLineEdit* edit, NumericField rules, QWidget* next = nullptr);
    // For an editable combo box: its keys arrive at the box, which hands them to
    // its line edit without the line edit's filters seeing them.
    NumericFieldFilter(QWidget* keyReceiver, QLineEdit* edit, NumericField rules);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool commitAccepted(const QString& commit) const;

    QWidget* m_receiver;
    QLineEdit* m_edit;
    NumericField m_rules;
    QWidget* m_next;
};

// Selects the whole text of a line edit when it is clicked or entered.
class SelectAllOnEntry : public QObject {
    Q_OBJECT
public:
    explicit SelectAllOnEntry(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_edit;
};

} // namespace corvanta::windows
