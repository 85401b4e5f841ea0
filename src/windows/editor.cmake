# The stock editor window.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GbkLengthValidator.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StockEditorWindow.cpp
)
