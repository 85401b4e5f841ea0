#include "ModalRun.h"

#include <QWidget>

namespace corvanta::windows {

void setRunModal(QWidget& window, bool modal)
{
    const Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (window.windowModality() == wanted)
        return;
    const bool shown = window.isVisible();
    if (shown)
        window.hide();
    window.setWindowModality(wanted);
    if (!shown)
        return;
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace corvanta::windows
