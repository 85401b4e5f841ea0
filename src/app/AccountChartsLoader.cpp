#include "AccountChartsLoader.h"

#include "windows/AccountCharts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPluginLoader>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

const QString moduleName = u"corvanta-charts.so"_s;

} // namespace

QStringList accountChartsModuleCandidates()
{
    const QString chosen = qEnvironmentVariable("CORVANTA_CHARTS_MODULE");
    if (!chosen.isEmpty())
        return {chosen};
    const QString folder = QCoreApplication::applicationDirPath();
    return {folder + u'/' + moduleName,
            folder + u'/' + QLatin1StringView(CORVANTA_CHARTS_FROM_BINDIR) + u'/' + moduleName};
}

windows::AccountChartsModule* AccountChartsLoader::module()
{
    if (m_module)
        return m_module;
    QString found;
    for (const QString& candidate : accountChartsModuleCandidates()) {
        if (QFileInfo(candidate).isFile()) {
            found = candidate;
            break;
        }
    }
    if (found.isEmpty()) {
        m_error = u"无法打开账户图表：找不到图表模块 "_s + moduleName;
        return nullptr;
    }
    // Never unloaded (see the class): the loader object may go, the module stays.
    QPluginLoader loader(found);
    m_module = qobject_cast<windows::AccountChartsModule*>(loader.instance());
    if (!m_module)
        m_error = u"无法打开账户图表：图表模块 "_s + found + u" 不能载入（"_s +
                  loader.errorString() + u"）"_s;
    return m_module;
}

} // namespace corvanta::app
