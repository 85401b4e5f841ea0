# The stock journal and its rating memo.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/JournalButtonBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JournalMemoPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JournalMemoWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JournalMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JournalNotesPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JournalTableModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JournalWindow.cpp
)
target_link_libraries(corvanta_windows PUBLIC corvanta_journal)
