# tests of the command line
corvanta_qtest(test_app_commandline CommandLineTest.cpp)
target_link_libraries(test_app_commandline PRIVATE corvanta_commandline)
target_compile_definitions(test_app_commandline PRIVATE
    CORVANTA_EXECUTABLE="$<TARGET_FILE:corvanta>")
add_dependencies(test_app_commandline corvanta)
if(CORVANTA_GUI) # the program also opens its window
    target_compile_definitions(test_app_commandline PRIVATE CORVANTA_WITH_WINDOWS)
endif()

# yearly and reprice on a ledger file
corvanta_qtest(test_app_report_commands ReportCommandsTest.cpp)
target_link_libraries(test_app_report_commands PRIVATE corvanta_commandline)
