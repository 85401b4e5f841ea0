#pragma once

#include <QString>

namespace corvanta::app {

// The outcome of writing a shortcut: an empty error means it was written.
struct ShortcutResult {
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Writes a shortcut that starts a program. Behind an interface so the main
// window can be tested without touching the desktop.
class ShortcutWriter {
public:
    virtual ~ShortcutWriter() = default;
    // The link path must carry linkExtension() in any case; otherwise nothing is
    // written and the result names the extension required.
    [[nodiscard]] virtual ShortcutResult createShortcut(const QString& target,
                                                        const QString& arguments,
                                                        const QString& linkPath,
                                                        const QString& description) = 0;
};

// The name of the icon an installed program puts into the icon theme; also the
// id of its desktop entry.
QString installedIconName();

// A desktop-entry launcher file (Type=Application), made executable; an existing
// file is replaced whole. A launcher of an installed program shows its icon.
class DesktopEntryWriter : public ShortcutWriter {
public:
    [[nodiscard]] ShortcutResult createShortcut(const QString& target, const QString& arguments,
                                                const QString& linkPath,
                                                const QString& description) override;
};

// ".desktop": the extension a launcher file must have on this platform.
QString linkExtension();
// "快捷方式的扩展名必须是" followed by the extension in upper case without its dot.
QString wrongExtensionMessage();
// The user's desktop folder.
QString desktopFolder();
// "Corvanta" + linkExtension().
QString shortcutFileName();
// The shortcut's full path in the desktop folder.
QString desktopShortcutPath();
// "无法创建桌面文件夹：" followed by the folder.
QString desktopFolderMessage(const QString& folder);

// Writes the program's shortcut into the desktop folder, which is created when it
// does not exist yet (a fresh account has none until a desktop makes it).
[[nodiscard]] ShortcutResult createDesktopShortcut(ShortcutWriter& writer, const QString& target,
                                                   const QString& arguments,
                                                   const QString& description);

} // namespace corvanta::app
