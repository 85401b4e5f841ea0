#include "FileChooser.h"

#include <QApplication>
#include <QFileDialog>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

// The dialog belongs to the window the user chose it in (the import or backup
// window), so that window comes back in front when it closes.
QWidget* DialogFileChooser::owner() const
{
    QWidget* active = QApplication::activeWindow();
    return active ? active : m_parent;
}

QString DialogFileChooser::openFile(const QString& filter)
{
    return QFileDialog::getOpenFileName(owner(), {}, {}, filter);
}

QString DialogFileChooser::saveFile(const QString& filter, const QString& proposed,
                                    const QString& suffix)
{
    QFileDialog dialog(owner(), {}, {}, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString dialogFilter(const QString& pairs)
{
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + u" ("_s + parts[i + 1] + u')';
    return filters.join(u";;"_s);
}

} // namespace corvanta::windows
