#pragma once

#include <QString>

class QGridLayout;
class QLineEdit;

namespace corvanta::windows {

// The small input boxes and tight group layouts of the profit/loss window, whose
// calculators share 120 pixels above the ladder.
QLineEdit* compactBox(const QString& name);
void compactGroupLayout(QGridLayout* grid);

} // namespace corvanta::windows
