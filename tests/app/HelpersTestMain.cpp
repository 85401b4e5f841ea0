#include "InputBoxTest.h"
#include "MessageBoxTest.h"
#include "ShortcutWriterTest.h"

#include <QApplication>
#include <QTest>

// Runs the test classes of the dialog helpers one after another.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    {
        InputBoxTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        ShortcutWriterTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        MessageBoxTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
