#include "DesktopServices.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace corvanta::app {

bool SystemDesktopServices::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool SystemDesktopServices::startCalculator()
{
    const QString program = findCalculator();
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

QStringList calculatorPrograms()
{
    return {u"gnome-calculator"_s, u"kcalc"_s,         u"galculator"_s,
            u"mate-calc"_s,        u"qalculate-gtk"_s, u"xcalc"_s};
}

QString findCalculator()
{
    for (const QString& name : calculatorPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QString calculatorMissingMessage()
{
    return u"无法启动计算器：系统中没有找到可用的计算器程序。\n"
           "请先安装 gnome-calculator、kcalc 或 galculator 等计算器。"_s;
}

QString browserFailedMessage(const QUrl& url)
{
    return u"无法打开网页：系统中没有找到可用的浏览器，或浏览器未能启动。\n网页地址："_s +
           url.toString();
}

} // namespace corvanta::app
