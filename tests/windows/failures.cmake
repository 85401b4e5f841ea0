# A full disk and a read-only folder while the program runs.
corvanta_gtest(test_write_failures ${CMAKE_CURRENT_LIST_DIR}/WriteFailureTest.cpp)
target_link_libraries(test_write_failures PRIVATE corvanta_windows corvanta_test_support corvanta_ledger)
