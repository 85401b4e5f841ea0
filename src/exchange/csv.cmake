# Viewing csv exports.
target_sources(corvanta_exchange PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CsvReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CsvTableModel.cpp
)
