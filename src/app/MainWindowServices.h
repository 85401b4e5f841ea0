#pragma once

namespace corvanta::windows {
class Prompter;
}

namespace corvanta::app {

class DesktopServices;
class ShortcutWriter;
class TrayPort;

// The platform pieces the main window talks through, owned by the application.
struct MainWindowServices {
    windows::Prompter& prompter;
    DesktopServices& desktop;
    TrayPort& tray;
    ShortcutWriter& shortcuts;
};

} // namespace corvanta::app
