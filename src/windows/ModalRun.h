#pragma once

class QWidget;

namespace corvanta::windows {

// Makes a window application-modal while a run of its own (an import, a restore)
// writes to the ledger, and plain again afterwards.
//
// Qt registers a window as modal when it shows and forgets it only when it hides
// while still modal: a modality changed on a shown window leaves it registered
// after it closes, and every other window stops taking input. So the window is
// hidden before each change and shown again after, in front.
void setRunModal(QWidget& window, bool modal);

} // namespace corvanta::windows
