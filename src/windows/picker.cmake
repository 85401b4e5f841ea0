# The stock picker and the portal links it sets.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StockPicker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StockInfoLink.cpp
)
