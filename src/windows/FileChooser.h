#pragma once

#include <QString>

class QWidget;

class QFileDialog;

namespace corvanta::windows {

// Qt's own file dialog in Chinese whatever the user's locale: sizes, dates and
// kinds of the file list, and the dialog's locale.
void speakChinese(QFileDialog& dialog);

// The open and save dialogs, behind an interface so tests can choose files
// without a dialog. Filters are in Qt's form ("name (pattern);;..."). An empty
// result means the user cancelled.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // `proposed` is the name the dialog suggests; the save dialog does not ask
    // about an existing file (the window asks in its own words).
    virtual QString openFile(const QString& filter) = 0;
    virtual QString saveFile(const QString& filter, const QString& proposed,
                             const QString& suffix) = 0;
};

class DialogFileChooser : public FileChooser {
public:
    explicit DialogFileChooser(QWidget* parent) : m_parent(parent) {}
    QString openFile(const QString& filter) override;
    QString saveFile(const QString& filter, const QString& proposed,
                     const QString& suffix) override;

private:
    QWidget* owner() const;

    QWidget* m_parent;
};

// A filter written "name|pattern|name|pattern" as the dialogs of the program
// state them, in the form Qt's dialogs take ("name (pattern);;...").
QString dialogFilter(const QString& pairs);

} // namespace corvanta::windows
