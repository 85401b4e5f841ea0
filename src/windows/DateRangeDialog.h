#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QPushButton;

namespace corvanta::windows {

// "日期区间": the days between which bought stocks join the monitor list. Both
// dates start at the day the dialog is created.
class DateRangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit DateRangeDialog(QWidget* parent = nullptr);

    QDateEdit* firstDate() const { return m_first; }
    QDateEdit* lastDate() const { return m_last; }
    QPushButton* okButton() const { return m_ok; }

    // Centred on the main window's frame.
    void openOver(const QRect& anchor);

Q_SIGNALS:
    // "确定(&K)": the dialog has closed; the range is the caller's to apply.
    void rangeChosen(const QDate& first, const QDate& last);
    // The main window's 2-second timer is off while the dialog is shown.
    void mainTimerStopRequested();
    void mainTimerStartRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QDateEdit* m_first;
    QDateEdit* m_last;
    QPushButton* m_ok;
};

} // namespace corvanta::windows
