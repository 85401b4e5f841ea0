// Shows the statement import window after importing a small statement (or with it
// only loaded, "loaded" as the argument), or the backup window after a backup
// ("backup"), on a scratch ledger, to look at them as a user would.
#include "ScriptedPrompter.h"
#include "StatementFixtures.h"

#include "ledger/LedgerFile.h"
#include "windows/BackupWindow.h"
#include "windows/FileChooser.h"
#include "windows/ImportWindow.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::exchange::fixtures;

namespace {

class FixedFiles : public windows::FileChooser {
public:
    explicit FixedFiles(QString path) : m_path(std::move(path)) {}
    QString openFile(const QString&) override { return m_path; }
    QString saveFile(const QString&, const QString&, const QString&) override { return m_path; }

private:
    QString m_path;
};

QByteArray statement()
{
    Sczq sell;
    sell.date = u"2007-05-25"_s;
    sell.operation = u"卖出"_s;
    sell.quantity = u"-500"_s;
    sell.price = u"11.20"_s;
    sell.amount = u"-5600.00"_s;
    Sczq other;
    other.date = u"2007-06-01"_s;
    other.code = u"600000"_s;
    other.name = u"浦发银行"_s;
    other.quantity = u"300"_s;
    other.price = u"21.05"_s;
    other.amount = u"6315.00"_s;
    return statementFile({sczqHeader(), Sczq{}.line(), sell.line(), other.line()});
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool backup = app.arguments().contains(u"backup"_s);
    QTemporaryDir dir;
    sql::Database db =
        ledger::openLedger(dir.path() + u"/gpmc.mdb"_s, {{u"000709"_s, u"唐钢股份"_s, u"TGGF"_s}});
    ledger::LedgerNotifier notifier;
    // Yes to the import, No to emptying the ledger; messages go to stderr.
    test::ScriptedPrompter prompter;
    prompter.decide = [](const test::ScriptedPrompter::Question& question) {
        return question.text != u"导入交易记录，原数据是否清空？"_s;
    };
    prompter.echo = true;
    if (backup) {
        FixedFiles files(dir.path() + u"/copy.mdb"_s);
        windows::BackupWindow window(db, notifier, prompter, files);
        window.show();
        window.run();
        return app.exec();
    }
    const QString path = dir.path() + u"/交易记录.txt"_s;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(statement());
    file.close();
    FixedFiles files(path);
    windows::ImportWindow window(db, notifier, prompter, files);
    window.show();
    window.browse();
    if (!app.arguments().contains(u"loaded"_s))
        window.startImport();
    return app.exec();
}
