#include "LedgerChecksums.h"
#include "MainWindowTestSupport.h"

#include "app/LedgerPasswordController.h"
#include "app/MainMenus.h"
#include "app/MainWindow.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerPassword.h"
#include "windows/BackupWindow.h"
#include "windows/PasswordDialog.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace mwtest {

namespace {

// One answer to the password dialog: the fields' texts, then OK, 取消 or the
// alternative button; `problem` is what the dialog must show when it comes.
struct Answer {
    QStringList fields;
    QString button = u"ok"_s; // "ok", "cancel" or "alternative"
    QString problem = {};
};

// Answers the password dialog each time it is shown modally, in order. `seen`
// collects the problem line as each showing found it.
void answerPasswordDialogs(QList<Answer> answers, std::shared_ptr<QStringList> seen)
{
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [answers, seen, attempt](int left) mutable {
        auto* dialog = qobject_cast<windows::PasswordDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && !answers.isEmpty()) {
            const Answer answer = answers.takeFirst();
            auto* problem = dialog->findChild<QLabel*>(u"problem"_s);
            seen->append(problem->isVisible() ? problem->text() : QString());
            for (int i = 0; i < answer.fields.size(); ++i) {
                auto* field = dialog->findChild<QLineEdit*>(u"password"_s + QString::number(i));
                commitText(field, answer.fields[i]);
            }
            auto* buttons = dialog->findChild<QDialogButtonBox*>(u"buttons"_s);
            QAbstractButton* button =
                answer.button == u"ok"_s       ? buttons->button(QDialogButtonBox::Ok)
                : answer.button == u"cancel"_s ? buttons->button(QDialogButtonBox::Cancel)
                                               : dialog->findChild<QPushButton*>(u"alternative"_s);
            QTest::mouseClick(button, Qt::LeftButton);
            left = 300;
        }
        if (answers.isEmpty()) {
            *attempt = nullptr;
            return;
        }
        if (left > 0)
            QTimer::singleShot(10, [attempt, left] {
                if (*attempt)
                    (*attempt)(left - 1);
            });
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(300); });
}

void whenFileDialogShows(const QString& path)
{
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [path, attempt](int left) {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
            *attempt = nullptr;
            return;
        }
        if (left > 0)
            QTimer::singleShot(10, [attempt, left] {
                if (*attempt)
                    (*attempt)(left - 1);
            });
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(300); });
}

bool opensWith(const QString& path, const QByteArray& password)
{
    try {
        if (password.isEmpty())
            ledger::openLedger(path, testSeedList());
        else
            ledger::openLedger(path, testSeedList(), password);
        return true;
    } catch (const ledger::LedgerOpenError&) {
        return false;
    }
}

} // namespace

// 设置 → 账本密码 through the real main window, and the dialog a ledger with a
// password asks with at start.
class MainWindowPasswordTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        m_program.reset();
        QVERIFY(!QApplication::activeModalWidget());
    }

    void setChangeAndRemoveThroughTheMenu()
    {
        QTemporaryDir folder;
        const QString path = ledger::ledgerPath(folder.path());
        m_program = std::make_unique<app::Program>(
            ledger::openLedger(path, testSeedList()),
            app::MainWindowServices{m_prompter, m_desktop, m_tray, m_shortcuts});
        m_program->show();
        QAction* menu = m_program->mainWindow().menus().ledgerPassword;
        QCOMPARE(menu->text(), u"账本密码(&P)"_s);

        // Set: the two entries must agree.
        auto seen = std::make_shared<QStringList>();
        answerPasswordDialogs({{{u"秘密一"_s, u"秘密二"_s}}, {{u"秘密一"_s, u"秘密一"_s}}}, seen);
        menu->trigger();
        QCOMPARE(seen->size(), 2);
        QVERIFY2(seen->at(1).contains(u"两次输入的密码不一样"_s), qPrintable(seen->at(1)));
        QCOMPARE(m_prompter.messages.last(), ledger::passwordTexts::set());
        QVERIFY(opensWith(path, u"秘密一"_s.toUtf8()));
        QVERIFY(!opensWith(path, {}));
        // The program goes on with the re-encrypted ledger.
        QCOMPARE(m_program->database().scalarInt("SELECT count(*) FROM gpjl"), 2);

        // Change: the current password first.
        seen->clear();
        answerPasswordDialogs(
            {{{u"wrong"_s, u"新的"_s, u"新的"_s}}, {{u"秘密一"_s, u"新的"_s, u"新的"_s}}}, seen);
        menu->trigger();
        QVERIFY2(seen->at(1).contains(u"当前密码不对"_s), qPrintable(seen->at(1)));
        QCOMPARE(m_prompter.messages.last(), ledger::passwordTexts::changed());
        QVERIFY(opensWith(path, u"新的"_s.toUtf8()));
        QVERIFY(!opensWith(path, u"秘密一"_s.toUtf8()));

        // Remove: the current password and 去掉密码.
        answerPasswordDialogs({{{u"新的"_s}, u"alternative"_s}}, seen);
        menu->trigger();
        QCOMPARE(m_prompter.messages.last(), ledger::passwordTexts::removed());
        QVERIFY(opensWith(path, {}));
        QVERIFY(!opensWith(path, u"新的"_s.toUtf8()));
        QCOMPARE(m_program->database().scalarInt("SELECT count(*) FROM gpjl"), 2);
    }

    void startAsksUntilTheRightPasswordAndWritesNothingBefore()
    {
        QTemporaryDir folder;
        const QString path = ledger::ledgerPath(folder.path());
        {
            sql::Database db = ledger::openLedger(path, testSeedList());
            ledger::changeLedgerPassword(db, "对的");
        }
        const QByteArray before = testsupport::fileSha256(path);
        std::optional<ledger::LedgerOpenError> refusal;
        try {
            ledger::openLedger(path, testSeedList());
        } catch (const ledger::LedgerOpenError& error) {
            refusal.emplace(error);
        }
        QVERIFY(refusal && refusal->mayHavePassword());

        // 取消: nothing opens, and the refusal is what is shown.
        auto seen = std::make_shared<QStringList>();
        answerPasswordDialogs({{{u"错的"_s}}, {{}, u"cancel"_s}}, seen);
        QString failure;
        QVERIFY(!app::openWithStartPassword(path, *refusal, failure));
        QCOMPARE(failure, refusal->message());
        QVERIFY2(seen->at(1).contains(ledger::wrongPasswordText()), qPrintable(seen->at(1)));
        QCOMPARE(testsupport::fileSha256(path), before);

        answerPasswordDialogs({{{u"错的"_s}}, {{u"对的"_s}}}, seen);
        const auto db = app::openWithStartPassword(path, *refusal, failure);
        QVERIFY(db);
        QCOMPARE(db->key(), u"对的"_s.toUtf8());
    }

    // A backup made under the password the ledger had before is restored from the
    // backup window once that password is given; a wrong one is asked again.
    void restoreOfABackupUnderAnotherPasswordAsksForIt()
    {
        QTemporaryDir folder;
        const QString backup = folder.filePath(u"old.mdb"_s);
        {
            sql::Database old = ledger::openLedger(backup, testSeedList());
            addTrade(old, u"600001"_s, u"沪市股票1"_s, Direction::Buy, 300, u"5"_s);
            ledger::changeLedgerPassword(old, "旧的");
        }
        const QString path = ledger::ledgerPath(folder.path());
        {
            sql::Database db = ledger::openLedger(path, testSeedList());
            ledger::changeLedgerPassword(db, "新的");
        }
        m_program = std::make_unique<app::Program>(
            ledger::openLedger(path, testSeedList(), "新的"),
            app::MainWindowServices{m_prompter, m_desktop, m_tray, m_shortcuts});
        m_program->show();
        m_program->mainWindow().menus().backup->trigger();
        windows::BackupWindow& window = m_program->backupWindow();
        window.chooseRestore(true);
        QSignalSpy ended(&window, &windows::BackupWindow::restoreEnded);
        m_prompter.answers = {true};
        whenFileDialogShows(backup);
        auto seen = std::make_shared<QStringList>();
        answerPasswordDialogs({{{u"错的"_s}}, {{u"旧的"_s}}}, seen);
        window.runButton()->click();
        QVERIFY2(ended.size() == 1 || ended.wait(10000),
                 qPrintable(m_prompter.messages.join(u'|')));
        QCOMPARE(ended.first().first().toBool(), true);
        QCOMPARE(seen->size(), 2);
        QVERIFY2(seen->at(1).contains(ledger::wrongPasswordText()), qPrintable(seen->at(1)));
        QCOMPARE(openQuantity(m_program->database(), u"沪市股票1"_s), 300);
        // The ledger keeps its own password.
        QCOMPARE(m_program->database().key(), u"新的"_s.toUtf8());
        window.close();
    }

private:
    test::ScriptedPrompter m_prompter;
    FakeDesktopServices m_desktop;
    FakeTrayPort m_tray{false};
    FakeShortcuts m_shortcuts;
    std::unique_ptr<app::Program> m_program;
};

int runPasswordTests(int argc, char* argv[])
{
    MainWindowPasswordTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace mwtest

#include "MainWindowTestPassword.moc"
