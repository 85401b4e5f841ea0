#include "HelpersFirst.h"

#include <QLayout>
#include <QList>
#include <QObject>
#include <QPointer>

namespace corvanta::windows {

void deleteHelpersFirst(QObject& owner)
{
    // Guarded: a helper's destructor may take a sibling with it.
    QList<QPointer<QObject>> helpers;
    for (QObject* child : owner.children()) {
        // The layout places the widgets and goes with them.
        if (!child->isWidgetType() && !qobject_cast<QLayout*>(child))
            helpers << child;
    }
    for (const QPointer<QObject>& helper : helpers)
        delete helper.data();
}

} // namespace corvanta::windows
