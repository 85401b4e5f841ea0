#pragma once

class QCoreApplication;

namespace corvanta::app {

// Loads Qt's own Chinese texts (standard buttons, context menus, dialogs) from
// the translations Qt was installed with, for the application's lifetime. False
// when they are not installed: Qt's texts then stay English.
bool installQtTranslations(QCoreApplication& application);

} // namespace corvanta::app
