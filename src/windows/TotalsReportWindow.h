#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace corvanta::report {
struct TotalsReport;
}

namespace corvanta::windows {

// A small window above the others that words the whole account after a summary.
// It computes nothing: each showing takes a report made from the last summary.
class TotalsReportWindow : public QWidget {
    Q_OBJECT
public:
    explicit TotalsReportWindow(QWidget* parent = nullptr);

    // Fills the window with the report and shows it, centred on `over` when given.
    void showReport(const report::TotalsReport& report, const QWidget* over = nullptr);
    // The text area's content, a line a line.
    QStringList lines() const;

    QLineEdit* balance;
    QPlainTextEdit* text;
    QPushButton* closeButton;
    QPushButton* exitButton;
};

} // namespace corvanta::windows
