#include "ShortcutWriterTest.h"

#include "app/ShortcutWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using corvanta::app::createDesktopShortcut;
using corvanta::app::DesktopEntryWriter;

namespace {

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// The raw value of a key, escapes as written in the file.
QString keyValue(const QStringList& lines, const QString& key)
{
    for (const QString& line : lines) {
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    }
    return u"<missing>"_s;
}

// Points the desktop folder into a home folder of the test's own for its lifetime.
class HomeOverride {
public:
    explicit HomeOverride(const QString& home)
        : m_home(qgetenv("HOME")), m_config(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", QFile::encodeName(home));
        // No user-dirs file: the desktop is the home folder's "Desktop".
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + u"/.config"_s));
    }
    ~HomeOverride()
    {
        qputenv("HOME", m_home);
        qputenv("XDG_CONFIG_HOME", m_config);
    }
    HomeOverride(const HomeOverride&) = delete;
    HomeOverride& operator=(const HomeOverride&) = delete;

private:
    QByteArray m_home;
    QByteArray m_config;
};

} // namespace

void ShortcutWriterTest::extensionInAnyCaseAccepted_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("lower case") << u"Corvanta.desktop"_s;
    QTest::newRow("upper case") << u"Corvanta.DESKTOP"_s;
    QTest::newRow("mixed case") << u"Corvanta.Desktop"_s;
}

void ShortcutWriterTest::extensionInAnyCaseAccepted()
{
    QFETCH(QString, fileName);
    QTemporaryDir dir;
    const QString path = dir.filePath(fileName);
    DesktopEntryWriter writer;
    const auto result = writer.createShortcut(u"/opt/corvanta/corvanta"_s, u" "_s, path,
                                              u"Corvanta 编写：Ostrel"_s);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(QFile::exists(path));
    QVERIFY(QFile::permissions(path).testFlag(QFile::ExeOwner));
}

void ShortcutWriterTest::wrongExtensionWritesNothing_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("text file") << u"Corvanta.txt"_s;
    QTest::newRow("shell link") << u"Corvanta.lnk"_s;
    QTest::newRow("no extension") << u"Corvanta"_s;
    QTest::newRow("extension only in the middle") << u"Corvanta.desktop.txt"_s;
    QTest::newRow("trailing dot") << u"Corvanta.desktop."_s;
}

void ShortcutWriterTest::wrongExtensionWritesNothing()
{
    QFETCH(QString, fileName);
    QTemporaryDir dir;
    DesktopEntryWriter writer;
    const auto result = writer.createShortcut(u"/opt/corvanta/corvanta"_s, u" "_s,
                                              dir.filePath(fileName), u"Corvanta"_s);
    QVERIFY(!result.ok());
    QCOMPARE(result.error, u"快捷方式的扩展名必须是DESKTOP"_s);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

void ShortcutWriterTest::launcherKeys()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Corvanta.desktop"_s);
    DesktopEntryWriter writer;
    QVERIFY(writer
                .createShortcut(u"/opt/corvanta app/bin/corvanta"_s, u" "_s, path,
                                u"Corvanta 编写：Ostrel"_s)
                .ok());

    const QStringList lines = fileLines(path);
    QVERIFY(!lines.isEmpty());
    QCOMPARE(lines.first(), u"[Desktop Entry]"_s);
    QCOMPARE(keyValue(lines, u"Type"_s), u"Application"_s);
    QCOMPARE(keyValue(lines, u"Name"_s), u"Corvanta"_s);
    QCOMPARE(keyValue(lines, u"Exec"_s), u"\"/opt/corvanta app/bin/corvanta\""_s);
    QCOMPARE(keyValue(lines, u"Path"_s), u"/opt/corvanta app/bin"_s);
    QCOMPARE(keyValue(lines, u"Comment"_s), u"Corvanta 编写：Ostrel"_s);
    QCOMPARE(keyValue(lines, u"Terminal"_s), u"false"_s);
    QCOMPARE(keyValue(lines, u"Icon"_s), u"<missing>"_s);
}

void ShortcutWriterTest::installedProgramShowsItsIcon()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(u"usr/bin"_s));
    QVERIFY(QDir(dir.path()).mkpath(u"usr/share/corvanta"_s));
    const QString path = dir.filePath(u"Corvanta.desktop"_s);
    DesktopEntryWriter writer;
    QVERIFY(writer.createShortcut(dir.filePath(u"usr/bin/corvanta"_s), {}, path, {}).ok());

    QCOMPARE(keyValue(fileLines(path), u"Icon"_s), corvanta::app::installedIconName());
}

void ShortcutWriterTest::execAndCommentEscapes_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("comment");
    QTest::newRow("arguments split and quoted")
        << u"/usr/bin/corvanta"_s << u"--a \"two words\""_s << u"c"_s
        << u"\"/usr/bin/corvanta\" \"--a\" \"two words\""_s << u"c"_s;
    QTest::newRow("percent is no field code")
        << u"/opt/100%/corvanta"_s << u""_s << u"c"_s << u"\"/opt/100%%/corvanta\""_s << u"c"_s;
    QTest::newRow("dollar, quote and backquote escaped")
        << u"/opt/a$b\"c`d/corvanta"_s << u""_s << u"c"_s
        << u"\"/opt/a\\\\$b\\\\\"c\\\\`d/corvanta\""_s << u"c"_s;
    QTest::newRow("backslash escaped twice") << u"/opt/a\\b/corvanta"_s << u""_s << u"c"_s
                                             << u"\"/opt/a\\\\\\\\b/corvanta\""_s << u"c"_s;
    QTest::newRow("line breaks and a leading blank in the comment")
        << u"/usr/bin/corvanta"_s << u""_s << u" 一\n二\r三\\"_s << u"\"/usr/bin/corvanta\""_s
        << u"\\s一\\n二\\r三\\\\"_s;
}

void ShortcutWriterTest::execAndCommentEscapes()
{
    QFETCH(QString, target);
    QFETCH(QString, arguments);
    QFETCH(QString, description);
    QFETCH(QString, exec);
    QFETCH(QString, comment);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Corvanta.desktop"_s);
    DesktopEntryWriter writer;
    QVERIFY(writer.createShortcut(target, arguments, path, description).ok());

    const QStringList lines = fileLines(path);
    QCOMPARE(keyValue(lines, u"Exec"_s), exec);
    QCOMPARE(keyValue(lines, u"Comment"_s), comment);
}

void ShortcutWriterTest::existingFileReplaced()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Corvanta.desktop"_s);
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("[Desktop Entry]\nName=Old\nComment=old\nIcon=old.png\n");
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    DesktopEntryWriter writer;
    QVERIFY(writer.createShortcut(u"/usr/bin/corvanta"_s, u" "_s, path, u"新"_s).ok());

    const QStringList lines = fileLines(path);
    QCOMPARE(keyValue(lines, u"Name"_s), u"Corvanta"_s);
    QCOMPARE(keyValue(lines, u"Comment"_s), u"新"_s);
    QCOMPARE(keyValue(lines, u"Icon"_s), u"<missing>"_s);
    QVERIFY(QFile::permissions(path).testFlag(QFile::ExeOwner));
}

void ShortcutWriterTest::missingFolderReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"no such folder/Corvanta.desktop"_s);
    DesktopEntryWriter writer;
    const auto result = writer.createShortcut(u"/usr/bin/corvanta"_s, u" "_s, path, u"c"_s);
    QVERIFY(!result.ok());
    QVERIFY(result.error.contains(u"no such folder"_s));
    QVERIFY(!QFile::exists(path));
}

void ShortcutWriterTest::desktopFolderCreatedWhenMissing()
{
    QTemporaryDir home;
    const HomeOverride override(home.path());
    const QString desktop = home.filePath(u"Desktop"_s);
    QVERIFY(!QFileInfo::exists(desktop));

    DesktopEntryWriter writer;
    const auto result = createDesktopShortcut(writer, u"/usr/bin/corvanta"_s, u" "_s, u"c"_s);

    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(QFile::exists(desktop + u"/Corvanta.desktop"_s));
}

void ShortcutWriterTest::unmakeableDesktopFolderReported()
{
    QTemporaryDir dir;
    // A home that is a file: no folder can be made inside it.
    const QString home = dir.filePath(u"home"_s);
    QFile file(home);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const HomeOverride override(home);

    DesktopEntryWriter writer;
    const auto result = createDesktopShortcut(writer, u"/usr/bin/corvanta"_s, u" "_s, u"c"_s);

    QVERIFY(!result.ok());
    QCOMPARE(result.error, corvanta::app::desktopFolderMessage(home + u"/Desktop"_s));
}
