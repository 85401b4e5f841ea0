# The import window's part for statements read by their column names.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GenericImportPanel.cpp
)
