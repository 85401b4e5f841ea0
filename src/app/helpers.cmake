# Dialog helpers and desktop services: input box, shortcut writer, calculator and
# browser, tray icon.
target_sources(corvanta_app PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/InputBox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShortcutWriter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DesktopServices.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrayPort.cpp
)
