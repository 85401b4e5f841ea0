# backup and restore window tests
corvanta_qtest(test_backup_window BackupWindowTest.cpp)
target_link_libraries(test_backup_window PRIVATE corvanta_windows corvanta_test_support)
# statement import window tests
corvanta_qtest(test_import_window ImportWindowTest.cpp)
target_link_libraries(test_import_window PRIVATE corvanta_windows corvanta_test_support)
# The import and backup windows after their work, to look at (not a test).
add_executable(data_exchange_demo DataExchangeDemo.cpp)
target_link_libraries(data_exchange_demo PRIVATE corvanta_windows corvanta_test_support corvanta_options)
