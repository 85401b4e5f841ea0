# tests of the dialog helpers
corvanta_qtest(test_app_helpers
    HelpersTestMain.cpp
    InputBoxTest.cpp
    ShortcutWriterTest.cpp
    MessageBoxTest.cpp
)
target_link_libraries(test_app_helpers PRIVATE corvanta_app)
