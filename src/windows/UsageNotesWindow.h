#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace corvanta::windows {

// The usage notes: "使用说明.txt" (GBK text) shown read-only. When the file
// cannot be read (a program copied alone into a folder), the notes built into the
// program are shown, and a line above them says so.
class UsageNotesWindow : public QDialog {
    Q_OBJECT
public:
    explicit UsageNotesWindow(const QString& notesFile, QWidget* parent = nullptr);

    static QString fileName(); // "使用说明.txt"
    // Where the program finds its notes: beside the program, else in the
    // installed data folder ../share/corvanta.
    static QString locate(const QString& programFolder);

    QPlainTextEdit* notes() const { return m_notes; }
    // Says that the built-in notes are shown; hidden when the file was read.
    QLabel* notice() const { return m_notice; }

private:
    QPlainTextEdit* m_notes;
    QLabel* m_notice;
};

} // namespace corvanta::windows
