#pragma once

#include "journal/Reminders.h"

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::windows {

// The journal memo "日志备忘" (TForm18): rates the selected journal note and sets
// its reminder date, frequency and target prices. Created once; keeps its field
// values between showings. The phase and strength lists are for the user's eyes
// only.
class JournalMemoWindow : public QWidget {
    Q_OBJECT
public:
    explicit JournalMemoWindow(model::TradeForm& trade, QWidget* parent = nullptr);

    // The chosen rating item, with its full-width blank.
    QString ratingChoice() const;
    // What the fields say: the date when the period field is not blank, the
    // frequency, and each target that is a number; the current price as the base.
    journal::ReminderSettings reminderSettings() const;

    QPushButton* confirmButton() const { return m_confirm; }
    QButtonGroup* ratingGroup() const { return m_ratings; }
    QButtonGroup* frequencyGroup() const { return m_frequencies; }
    QLineEdit* reachTargetField() const { return m_reachTarget; }
    QLineEdit* highTargetField() const { return m_highTarget; }
    QLineEdit* periodField() const { return m_period; }
    QDateEdit* reminderDate() const { return m_date; }

Q_SIGNALS:
    // "加入日志备忘(&O)": the journal applies the rating and saves the note.
    void confirmed(const QString& ratingChoice,
                   const corvanta::journal::ReminderSettings& reminder);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
    void periodEdited(const QString& text);

    model::TradeForm& m_trade;
    QButtonGroup* m_ratings;
    QPushButton* m_confirm;
    QComboBox* m_phase;
    QComboBox* m_strength;
    QLineEdit* m_reachTarget;
    QLineEdit* m_highTarget;
    QLineEdit* m_period;
    QDateEdit* m_date;
    QButtonGroup* m_frequencies;
};

} // namespace corvanta::windows
