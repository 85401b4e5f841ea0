#pragma once

namespace corvanta::windows {
class Prompter;
}

namespace corvanta::app {

class DesktopServices;
class ShortcutWriter;
class TrayPort;

// The platform pieces the windows talk through, owned by the program (or by a
// test that passes its fakes).
struct MainWindowServices {
    windows::Prompter& prompter;
    DesktopServices& desktop;
    TrayPort& tray;
    ShortcutWriter& shortcuts;
};

} // namespace corvanta::app
