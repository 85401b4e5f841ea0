# widget tests of the main window, typing into its real fields; each test class is
# a ctest entry of its own (ctest -R mainwindow_ledger)
add_executable(test_mainwindow
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestSupport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestFees.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestPicker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestLedger.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestSellTargets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestDisplay.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestProgram.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestSummary.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestQuotes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestMonitor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestSideWindows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestSources.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestCharts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestDataExchange.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestPassword.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestPlaces.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../market/FakeHttpProxy.cpp
)
target_link_libraries(test_mainwindow PRIVATE corvanta_app corvanta_test_support corvanta_quote_server
    corvanta_bench_ledger Qt6::Test corvanta_options)
# The charts come from their module, as in the program; the tests read their series
# and the ledger connection's page cache.
target_link_libraries(test_mainwindow PRIVATE Qt6::Charts PkgConfig::SQLCIPHER)
target_compile_definitions(test_mainwindow PRIVATE
    CORVANTA_CHARTS_MODULE_FILE="$<TARGET_FILE:corvanta-charts>")
foreach(class fees picker ledger selltargets window program display summary quotes monitor sidewindows sources charts exchange password)
    add_test(NAME mainwindow_${class} COMMAND test_mainwindow ${class})
    set_tests_properties(mainwindow_${class} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endforeach()

# Where windows open needs a real X server and a window manager: a 1280×900 Xvfb
# screen with openbox.
find_program(XVFB_RUN xvfb-run)
find_program(OPENBOX openbox)
if(XVFB_RUN AND OPENBOX)
    add_test(NAME mainwindow_places
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/with-openbox $<TARGET_FILE:test_mainwindow> places)
    if(CORVANTA_SANITIZE)
        # libxkbcommon-x11 reads the X server's fixed-length names with strndup,
        # which strict string checks take for an overflow, and libdbus keeps a
        # buffer it never frees: the X platform's own, not the program's. Every
        # other check stays on.
        set_tests_properties(mainwindow_places PROPERTIES ENVIRONMENT
            "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=0;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/x11-platform.supp")
    endif()
endif()

# The data-exchange class runs the command line beside the windows on copies of a ledger.
target_compile_definitions(test_mainwindow PRIVATE CORVANTA_EXECUTABLE="$<TARGET_FILE:corvanta>")
add_dependencies(test_mainwindow corvanta)
