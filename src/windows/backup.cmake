# The backup and restore window and the statement import window.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/FileChooser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ModalRun.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BackupWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImportWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PasswordDialog.cpp
)
