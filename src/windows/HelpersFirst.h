#pragma once

class QObject;

namespace corvanta::windows {

// Deletes the owner's children that are neither widgets nor its layout (controllers,
// filters, binders) while every widget still stands. A window calls it first in its
// destructor: its helpers watch and read its panels, and destroying a widget still
// sends events (focus out, child removed) that would reach them after the panels
// they read are gone.
void deleteHelpersFirst(QObject& owner);

} // namespace corvanta::windows
