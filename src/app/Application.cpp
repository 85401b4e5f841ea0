#include "Application.h"

#include "ledger/sql/Database.h"
#include "windows/DatabaseFailure.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace corvanta::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

Application::~Application() = default;

void Application::setPrompter(windows::Prompter* prompter)
{
    m_prompter = prompter;
}

windows::Prompter& Application::prompter()
{
    return m_prompter ? *m_prompter : m_boxes;
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const sql::Error& error) {
        // A write rolls back as its transaction unwinds; a read shows nothing.
        windows::showDatabaseFailure(prompter(), windows::LedgerAccess::Read, error);
    } catch (const std::exception& error) {
        prompter().inform(u"操作没有完成："_s + QString::fromLocal8Bit(error.what()));
    }
    return false;
}

Application* application()
{
    return qobject_cast<Application*>(QCoreApplication::instance());
}

} // namespace corvanta::app
