#include "UsageNotesWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

UsageNotesWindow::UsageNotesWindow(const QString& notesFile, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(u"   股票交易费用计算器  "_s);
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(u"notes"_s);
    m_notes->setReadOnly(true);
    m_notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(u"仿宋"_s);
    font.setPixelSize(20);
    m_notes->setFont(font);
    m_notice = new QLabel;
    m_notice->setObjectName(u"notice"_s);
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(u"color: blue;"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_notice);
    layout->addWidget(m_notes);
    resize(505, 369);

    QFile file(notesFile);
    const bool readable = !notesFile.isEmpty() && file.open(QIODevice::ReadOnly);
    if (!readable) {
        file.setFileName(u":/corvanta/usage-notes.txt"_s);
        if (!file.open(QIODevice::ReadOnly))
            return;
        m_notice->setText(u"无法读取程序旁的“"_s + fileName() + u"”，以下是程序内附的使用说明。"_s);
    }
    m_notice->setVisible(!readable);
    QStringDecoder gbk("GB18030");
    m_notes->setPlainText(gbk.decode(file.readAll()));
}

QString UsageNotesWindow::fileName()
{
    return u"使用说明.txt"_s;
}

QString UsageNotesWindow::locate(const QString& programFolder)
{
    const QDir folder(programFolder);
    const QString beside = folder.filePath(fileName());
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = folder.filePath(u"../share/corvanta/"_s + fileName());
    return QFileInfo::exists(installed) ? QDir::cleanPath(installed) : QString();
}

} // namespace corvanta::windows
