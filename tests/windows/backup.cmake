# backup and restore window tests
corvanta_qtest(test_backup_window BackupWindowTest.cpp)
target_link_libraries(test_backup_window PRIVATE corvanta_windows)
