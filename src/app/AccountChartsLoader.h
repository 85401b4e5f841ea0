#pragma once

#include <QString>
#include <QStringList>

namespace corvanta::windows {
class AccountChartsModule;
}

namespace corvanta::app {

// Loads the account charts' module the first time it is asked for, and keeps it:
// the chart library it brings stays mapped once a chart has been drawn, as it
// keeps state of its own that unloading would leave dangling.
class AccountChartsLoader {
public:
    // The module, or nullptr when it cannot be found or loaded; error() says why.
    windows::AccountChartsModule* module();
    // The message for a module that could not be loaded, in the user's words.
    QString error() const { return m_error; }

private:
    windows::AccountChartsModule* m_module = nullptr;
    QString m_error;
};

// Where the module is looked for, in order: the file CORVANTA_CHARTS_MODULE names
// when it is set, else beside the program (the build tree), else the package's
// library folder.
QStringList accountChartsModuleCandidates();

} // namespace corvanta::app
