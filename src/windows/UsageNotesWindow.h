#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace corvanta::windows {

// The usage notes: "使用说明.txt" (GBK text) shown read-only. A missing file
// leaves the notes empty.
class UsageNotesWindow : public QDialog {
    Q_OBJECT
public:
    explicit UsageNotesWindow(const QString& notesFile, QWidget* parent = nullptr);

    static QString fileName(); // "使用说明.txt"
    // Where the program finds its notes: beside the program, else in the
    // installed data folder ../share/corvanta.
    static QString locate(const QString& programFolder);

    QPlainTextEdit* notes() const { return m_notes; }

private:
    QPlainTextEdit* m_notes;
};

} // namespace corvanta::windows
