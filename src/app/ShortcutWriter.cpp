#include "ShortcutWriter.h"

#include "ledger/LedgerFile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

// One argument of an Exec line: always quoted, with the four characters that keep
// a meaning inside quotes escaped; "%" is doubled so it is no field code.
QString quotedExecArgument(const QString& argument)
{
    QString quoted = u"\""_s;
    for (QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    return quoted;
}

// The command line that Exec holds: the program, then the arguments as a shell
// would split them.
QString execLine(const QString& target, const QString& arguments)
{
    QStringList words{quotedExecArgument(target)};
    for (const QString& argument : QProcess::splitCommand(arguments))
        words.append(quotedExecArgument(argument));
    return words.join(u' ');
}

// The escapes of every string value in a desktop entry; a leading blank would
// otherwise be dropped by readers.
QString escapedValue(const QString& value)
{
    QString escaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\')
            escaped += u"\\\\"_s;
        else if (c == u'\n')
            escaped += u"\\n"_s;
        else if (c == u'\t')
            escaped += u"\\t"_s;
        else if (c == u'\r')
            escaped += u"\\r"_s;
        else if (c == u' ' && i == 0)
            escaped += u"\\s"_s;
        else
            escaped += c;
    }
    return escaped;
}

QString desktopEntry(const QString& target, const QString& arguments, const QString& description)
{
    QString entry = u"[Desktop Entry]\n"_s;
    entry += u"Type=Application\n"_s;
    entry += u"Version=1.0\n"_s;
    entry += u"Name=Corvanta\n"_s;
    entry += u"Comment="_s + escapedValue(description) + u'\n';
    entry += u"Exec="_s + escapedValue(execLine(target, arguments)) + u'\n';
    entry += u"Path="_s + escapedValue(QFileInfo(target).absolutePath()) + u'\n';
    entry += u"Terminal=false\n"_s;
    // Only an installed program has its icon in the theme.
    if (!ledger::installedDataFolder(QFileInfo(target).absolutePath()).isEmpty())
        entry += u"Icon="_s + installedIconName() + u'\n';
    return entry;
}

bool hasLinkExtension(const QString& linkPath)
{
    const QString suffix = QFileInfo(linkPath).suffix();
    return !suffix.isEmpty() && (u'.' + suffix).toUpper() == linkExtension().toUpper();
}

QString unwritableMessage(const QString& linkPath)
{
    return u"无法写入快捷方式文件："_s + QDir::toNativeSeparators(linkPath);
}

} // namespace

QString installedIconName()
{
    return u"io.github.corvanta.Corvanta"_s;
}

QString linkExtension()
{
    return u".desktop"_s;
}

QString wrongExtensionMessage()
{
    return u"快捷方式的扩展名必须是"_s + linkExtension().mid(1).toUpper();
}

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString shortcutFileName()
{
    return u"Corvanta"_s + linkExtension();
}

QString desktopShortcutPath()
{
    return QDir(desktopFolder()).filePath(shortcutFileName());
}

QString desktopFolderMessage(const QString& folder)
{
    return u"无法创建桌面文件夹："_s + QDir::toNativeSeparators(folder);
}

ShortcutResult createDesktopShortcut(ShortcutWriter& writer, const QString& target,
                                     const QString& arguments, const QString& description)
{
    const QString folder = desktopFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {desktopFolderMessage(folder)};
    return writer.createShortcut(target, arguments, desktopShortcutPath(), description);
}

ShortcutResult DesktopEntryWriter::createShortcut(const QString& target, const QString& arguments,
                                                  const QString& linkPath,
                                                  const QString& description)
{
    if (!hasLinkExtension(linkPath))
        return {wrongExtensionMessage()};

    // Written beside the old file and renamed over it, so a failed write leaves
    // any existing launcher whole.
    QSaveFile file(linkPath);
    if (!file.open(QIODevice::WriteOnly))
        return {unwritableMessage(linkPath)};
    file.write(desktopEntry(target, arguments, description).toUtf8());
    if (!file.commit())
        return {unwritableMessage(linkPath)};

    // Desktops start only launchers marked executable.
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                             QFile::ExeOther;
    if (!QFile::setPermissions(linkPath, permissions))
        return {unwritableMessage(linkPath)};
    return {};
}

} // namespace corvanta::app
