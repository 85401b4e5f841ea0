#include "Prompter.h"

#include "LineBreaks.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace corvanta::windows {

namespace {

// Room beside a caption for the window's icon and its title-bar buttons.
constexpr int titleBarExtras = 160;

// A box as wide as its caption needs, so that the title bar does not shorten it.
// The box sizes itself from its layout's minimum, which a spacer widens.
void fitCaption(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + titleBarExtras;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

QWidget* MessageBoxPrompter::owner() const
{
    // A window kept above the others (the stock editor) would hide a box centred
    // on the main window: the box goes over whichever window the user is in.
    QWidget* active = QApplication::activeWindow();
    return active ? active : m_parent;
}

bool MessageBoxPrompter::askYesNo(const QString& caption, const QString& text)
{
    return askOver(owner(), caption, text, Default::No);
}

void MessageBoxPrompter::inform(const QString& text)
{
    informOver(owner(), text);
}

bool MessageBoxPrompter::askOver(QWidget* asker, const QString& caption, const QString& text,
                                 Default preferred)
{
    QMessageBox box(QMessageBox::Critical, caption, lineBreaks(text),
                    QMessageBox::Yes | QMessageBox::No, asker ? asker : owner());
    box.setDefaultButton(preferred == Default::Yes ? QMessageBox::Yes : QMessageBox::No);
    fitCaption(box);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxPrompter::informOver(QWidget* asker, const QString& text)
{
    QMessageBox box(QMessageBox::Information, applicationTitle(), lineBreaks(text), QMessageBox::Ok,
                    asker ? asker : owner());
    fitCaption(box);
    box.exec();
}

} // namespace corvanta::windows
