#include "CompactBoxes.h"

#include "FieldFit.h"

#include <QGridLayout>
#include <QLineEdit>

namespace corvanta::windows {

QLineEdit* compactBox(const QString& name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setFixedSize(60, 20);
    keepTextStartInView(edit);
    return edit;
}

void compactGroupLayout(QGridLayout* grid)
{
    grid->setContentsMargins(4, 0, 4, 1);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
}

} // namespace corvanta::windows
