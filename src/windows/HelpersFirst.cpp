#include "HelpersFirst.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace corvanta::windows {

void deleteHelpersFirst(QObject& owner)
{
    // Guarded: a helper's destructor may take a sibling with it.
    QList<QPointer<QObject>> helpers;
    for (QObject* child : owner.children()) {
        if (!child->isWidgetType())
            helpers << child;
    }
    for (const QPointer<QObject>& helper : helpers)
        delete helper.data();
}

} // namespace corvanta::windows
