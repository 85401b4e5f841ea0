#include "FileChooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLocale>
#include <QSortFilterProxyModel>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

// The dialog belongs to the window the user chose it in (the import or backup
// window), so that window comes back in front when it closes.
QWidget* DialogFileChooser::owner() const
{
    QWidget* active = QApplication::activeWindow();
    return active ? active : m_parent;
}

namespace {

// Qt's file list formats sizes and dates in the system's locale and names folders
// in English ("Folder", "10 Dec") under a non-Chinese locale: every other text of
// the program is Chinese, so the list is too.
class ChineseFileList : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QSortFilterProxyModel::data(index, role);
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        switch (index.column()) {
        case sizeColumn:
            return info.isDir() ? QString() : chinese.formattedDataSize(info.size());
        case typeColumn:
            if (info.isDir())
                return u"文件夹"_s;
            return info.suffix().isEmpty() ? u"文件"_s : info.suffix() + u" 文件"_s;
        case dateColumn:
            return chinese.toString(info.lastModified(), u"yyyy-MM-dd HH:mm"_s);
        default:
            return QSortFilterProxyModel::data(index, role);
        }
    }

    static constexpr int sizeColumn = 1;
    static constexpr int typeColumn = 2;
    static constexpr int dateColumn = 3;
};

} // namespace

void speakChinese(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLocale(QLocale(QLocale::Chinese, QLocale::China));
    dialog.setProxyModel(new ChineseFileList(&dialog));
}

QString DialogFileChooser::openFile(const QString& filter)
{
    QFileDialog dialog(owner(), {}, {}, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    speakChinese(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString DialogFileChooser::saveFile(const QString& filter, const QString& proposed,
                                    const QString& suffix)
{
    QFileDialog dialog(owner(), {}, {}, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(suffix);
    speakChinese(dialog);
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
