#include "MainWindowTestSupport.h"

#include "app/LedgerPanel.h"
#include "app/MainMenus.h"
#include "app/MonitorController.h"
#include "app/Program.h"
#include "market/NetworkState.h"
#include "windows/AccountCharts.h"
#include "windows/ImportWindow.h"
#include "windows/MonitorWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

QString where(const QRect& r)
{
    return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Waits until the window manager has shown the window with its frame.
bool waitShown(QWidget* window)
{
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    QTest::qWait(300);
    return true;
}

// Moves the window as the window manager does when the user drags it (xdotool asks
// the window manager); by Qt when xdotool is missing.
void drag(QWidget* window, QPoint to)
{
    const QString xdotool = QStandardPaths::findExecutable(u"xdotool"_s);
    if (xdotool.isEmpty()) {
        window->move(to);
    } else {
        const QRect before = window->geometry();
        QProcess::execute(xdotool, {u"windowmove"_s, QString::number(window->winId()),
                                    QString::number(to.x()), QString::number(to.y())});
        // The window manager answers when it gets to it: on a busy machine later.
        // A drag to where it is already changes nothing: then the wait ends unmet.
        (void)QTest::qWaitFor([&] { return window->geometry() != before; }, 5000);
    }
    QTest::qWait(300);
}

bool insideScreen(QWidget* window)
{
    return window->screen()->availableGeometry().contains(window->frameGeometry());
}

} // namespace

// Where windows open on a screen of 1280×900 under a window manager: inside the
// available geometry, and where the user left them, across a restart too. Needs a
// real X server (ctest runs it under Xvfb with openbox).
class MainWindowPlacesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        h = std::make_unique<Harness>(/*trayAvailable=*/true);
        QVERIFY(h->open());
    }
    void cleanup()
    {
        h.reset();
        QVERIFY(!QApplication::activeModalWidget());
    }

    void windowsComeBackWhereTheyWereLeft_data();
    void windowsComeBackWhereTheyWereLeft();
    void aPlaceOffTheScreenIsBroughtBack_data();
    void aPlaceOffTheScreenIsBroughtBack();
    void theMainWindowComesBackWholeFromTheTray();

private:
    QWidget* open(const QString& window);
    void close(const QString& window);
    static void addWindowRows();

    std::unique_ptr<Harness> h;
};

void MainWindowPlacesTest::addWindowRows()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("account charts") << u"charts"_s;
    QTest::newRow("statement import") << u"import"_s;
    QTest::newRow("monitor") << u"monitor"_s;
}

QWidget* MainWindowPlacesTest::open(const QString& window)
{
    app::MainMenus& m = h->window().menus();
    if (window == u"charts") {
        m.accountCharts->trigger();
        return h->program().accountCharts();
    }
    if (window == u"import") {
        m.brokerImport->trigger();
        return &h->program().importWindow();
    }
    h->program().network().setNetworkOk(true);
    clickGridRow(h->window().ledger().ledgerGrid, 0);
    Q_EMIT m.ledgerPopup->aboutToShow();
    m.ledgerMonitor->trigger();
    return &h->program().monitor().monitorWindow();
}

void MainWindowPlacesTest::close(const QString& window)
{
    if (window == u"monitor")
        h->program().monitor().monitorWindow().close();
    else if (window == u"charts")
        h->program().accountCharts()->close();
    else
        h->program().importWindow().close();
}

void MainWindowPlacesTest::windowsComeBackWhereTheyWereLeft_data()
{
    addWindowRows();
}

void MainWindowPlacesTest::windowsComeBackWhereTheyWereLeft()
{
    QFETCH(QString, window);
    QWidget* w = open(window);
    QVERIFY(waitShown(w));
    QVERIFY2(insideScreen(w), qPrintable(where(w->frameGeometry())));

    // The user drags it elsewhere and closes it; it comes back there, however often.
    drag(w, QPoint(40, 30));
    const QRect left = w->geometry();
    for (int i = 0; i < 3; ++i) {
        close(window);
        QVERIFY(!w->isVisible());
        w = open(window);
        QVERIFY(waitShown(w));
        QTRY_COMPARE_WITH_TIMEOUT(where(w->geometry()), where(left), 5000);
    }
    close(window);

    // And after a restart of the program.
    QVERIFY(h->reopen());
    w = open(window);
    QVERIFY(waitShown(w));
    QTRY_COMPARE_WITH_TIMEOUT(where(w->geometry()), where(left), 5000);
    close(window);
}

void MainWindowPlacesTest::aPlaceOffTheScreenIsBroughtBack_data()
{
    addWindowRows();
    QTest::newRow("main window") << u"main"_s;
}

void MainWindowPlacesTest::aPlaceOffTheScreenIsBroughtBack()
{
    QFETCH(QString, window);
    QWidget* w = window == u"main"_s ? &h->window() : open(window);
    QVERIFY(waitShown(w));
    const QRect screen = w->screen()->availableGeometry();
    // Left partly below the screen's edge (a screen that has since shrunk).
    drag(w, QPoint(screen.right() - 100, screen.bottom() - 60));
    if (window == u"main"_s) {
        QVERIFY(h->reopen());
        w = &h->window();
    } else {
        close(window);
        QVERIFY(h->reopen());
        w = open(window);
    }
    QVERIFY(waitShown(w));
    QVERIFY2(insideScreen(w), qPrintable(where(w->frameGeometry()) + u" on "_s + where(screen)));
    if (window != u"main"_s)
        close(window);
}

// Hidden to the tray and back, the main window keeps its place and its status bar
// stays on the screen.
void MainWindowPlacesTest::theMainWindowComesBackWholeFromTheTray()
{
    app::MainWindow& w = h->window();
    QVERIFY(waitShown(&w));
    QVERIFY2(insideScreen(&w), qPrintable(where(w.frameGeometry())));
    drag(&w, QPoint(300, 200));
    const QRect left = w.geometry();
    for (int i = 0; i < 3; ++i) {
        pickStock(w, u"000709"_s);
        w.menus().hideToTray->trigger();
        QVERIFY(!w.isVisible());
        w.menus().trayRestore->trigger();
        QVERIFY(waitShown(&w));
        QTRY_COMPARE_WITH_TIMEOUT(where(w.geometry()), where(left), 5000);
        QVERIFY2(insideScreen(&w), qPrintable(where(w.frameGeometry())));
    }
}

int runPlaceTests(int argc, char* argv[])
{
    MainWindowPlacesTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestPlaces.moc"
