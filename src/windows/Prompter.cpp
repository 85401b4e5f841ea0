#include "Prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace corvanta::windows {

bool MessageBoxPrompter::askYesNo(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxPrompter::inform(const QString& text)
{
    QMessageBox box(QMessageBox::Information, applicationTitle(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

} // namespace corvanta::windows
