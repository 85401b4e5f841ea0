#include "CellColour.h"

namespace corvanta::report {

QVariant colourName(CellColour colour)
{
    switch (colour) {
    case CellColour::Profit:
        return QStringLiteral("red");
    case CellColour::Loss:
        return QStringLiteral("blue");
    case CellColour::Fixed:
        break;
    }
    return QStringLiteral("#f0f0f0");
}

} // namespace corvanta::report
