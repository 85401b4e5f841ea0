# tests of the command line
corvanta_qtest(test_app_commandline CommandLineTest.cpp)
target_link_libraries(test_app_commandline PRIVATE corvanta_app)
target_compile_definitions(test_app_commandline PRIVATE
    CORVANTA_EXECUTABLE="$<TARGET_FILE:corvanta>")
add_dependencies(test_app_commandline corvanta)

# yearly and reprice on a ledger file
corvanta_qtest(test_app_report_commands ReportCommandsTest.cpp)
target_link_libraries(test_app_report_commands PRIVATE corvanta_app)
