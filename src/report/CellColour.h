#pragma once

#include <QString>
#include <QVariant>

#include <functional>

namespace corvanta::report {

// The colours the report grids give their cells, as data: the logic decides
// which, the window decides how they look.
enum class CellColour {
    Profit, // red text
    Loss,   // blue text
    Fixed,  // the background of fixed cells (the totals row, the name column)
};

// Turns a colour into the value a view reads for Qt::ForegroundRole and
// Qt::BackgroundRole. The window gives one that answers brushes; the default
// answers colour names ("red", "blue", "#f0f0f0"), which need no GUI module.
using ColourData = std::function<QVariant(CellColour)>;
QVariant colourName(CellColour colour);

} // namespace corvanta::report
