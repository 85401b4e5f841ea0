#include "LedgerFile.h"

#include "sql/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

using Reason = LedgerOpenError::Reason;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

const QString untouched = u"\n程序没有改动这个文件。"_s;

// The reason in Chinese first; SQLite's own English words follow for whoever
// looks further.
LedgerOpenError notALedger(const QString& path, const QString& reason, const QString& detail,
                           bool mayHavePassword = false)
{
    return {Reason::NotALedger,
            u"无法打开账本文件“"_s + shown(path) +
                u"”：它不是本程序的账本数据库，或者密码不符，或者文件已经损坏（"_s + reason +
                u"；SQLite："_s + detail + u"）。"_s + untouched +
                u"请从备份恢复，或者把它移走后重新启动，程序会建立新的账本文件。"_s,
            mayHavePassword};
}

LedgerOpenError wrongPassword(const QString& path)
{
    return {Reason::WrongPassword,
            wrongPasswordText() + u"账本文件“"_s + shown(path) + u"”没有打开。"_s + untouched};
}

LedgerOpenError foreignTables(const QString& path, const ForeignTableError& error)
{
    return {Reason::NotALedger,
            u"无法打开账本文件“"_s + shown(path) + u"”：它不是本程序的账本数据库（"_s +
                error.reason() + u"）。"_s + untouched +
                u"请从备份恢复，或者把它移走后重新启动，程序会建立新的账本文件。"_s};
}

LedgerOpenError emptyFile(const QString& path)
{
    return {Reason::EmptyFile,
            u"无法打开账本文件“"_s + shown(path) + u"”：文件是空的（0 字节），不是账本数据库。"_s +
                untouched +
                u"如果确实不再需要它，请把它移走后重新启动，程序会建立新的账本文件。"_s};
}

LedgerOpenError readOnlyFile(const QString& path)
{
    return {Reason::ReadOnly, u"账本文件“"_s + shown(path) +
                                  u"”是只读的，程序无法在其中记录交易和保存设置。"_s + untouched +
                                  u"请去掉这个文件的只读属性后重新启动。"_s};
}

LedgerOpenError readOnlyFolder(const QString& path)
{
    return {
        Reason::FolderReadOnly,
        u"账本文件“"_s + shown(path) + u"”所在的文件夹“"_s + shown(QFileInfo(path).absolutePath()) +
            u"”不允许写入，程序无法在其中保存账本数据。"_s + untouched +
            u"请让这个文件夹可以写入，或者把程序和账本文件一起复制到可以写入的文件夹后再启动。"_s};
}

LedgerOpenError cannotCreate(const QString& path, const QString& detail)
{
    return {Reason::CannotCreate, u"无法建立账本文件“"_s + shown(path) + u"”（"_s + detail +
                                      u"）。\n请检查磁盘空间和文件夹的写入权限后重新启动。"_s};
}

LedgerOpenError failed(const QString& path, const QString& detail)
{
    return {Reason::Failed,
            u"无法打开账本文件“"_s + shown(path) + u"”（"_s + detail + u"）。"_s + untouched};
}

bool damaged(const sql::Error& error)
{
    return error.kind() == sql::Error::Kind::NotADatabase ||
           error.kind() == sql::Error::Kind::Corrupt;
}

bool writeRefused(const sql::Error& error)
{
    return error.kind() == sql::Error::Kind::ReadOnly;
}

// Reads every page once, so a file damaged past its first page is refused here
// rather than failing in the middle of some later change.
void checkIntact(sql::Database& db, const QString& path)
{
    auto check = db.prepare("PRAGMA quick_check(1)");
    if (check.step() && check.text(0) != u"ok"_s)
        throw notALedger(path, u"文件有损坏的数据页"_s, check.text(0));
}

// Opens with the program's key, or with a personal password when one is given.
sql::Database openKeyed(const QString& path, const QByteArray* password)
{
    try {
        return sql::Database::open(path, password ? *password : QByteArray(ledgerKey),
                                   sql::Database::Mode::ReadWrite);
    } catch (const sql::Error& error) {
        if (error.kind() != sql::Error::Kind::NotADatabase)
            throw;
        if (password)
            throw wrongPassword(path);
        throw notALedger(path, u"文件不是用本程序的密码加密的数据库"_s, error.message(),
                         looksEncrypted(path));
    }
}

// SQLite's default page cache holds 2 MB: a larger ledger is read and decrypted
// again on every full scan (the grid, the summary, the charts). The cache holds the
// whole file and a quarter more for growth, up to 64 MB.
void sizePageCache(sql::Database& db, const QString& path)
{
    constexpr qint64 defaultKib = 2048, largestKib = 64 * 1024;
    const qint64 kib = std::clamp(QFileInfo(path).size() / 1024 * 5 / 4, defaultKib, largestKib);
    const QByteArray pragma = "PRAGMA cache_size = -" + QByteArray::number(kib);
    db.exec(pragma.constData());
}

// The reason a failure of the database engine gives for a file it cannot use.
[[noreturn]] void refuse(const QString& path, const sql::Error& error)
{
    if (damaged(error))
        throw notALedger(path,
                         error.kind() == sql::Error::Kind::Corrupt
                             ? u"文件已经损坏"_s
                             : u"文件不是用本程序的密码加密的数据库"_s,
                         error.message());
    if (writeRefused(error))
        throw readOnlyFile(path);
    throw failed(path, error.message());
}

sql::Database openExisting(const QString& path, const SeedListSource& seedList,
                           const QByteArray* password, PageCheck pageCheck)
{
    const QFileInfo file(path);
    if (!file.isFile())
        throw failed(path, u"这不是一个文件"_s);
    if (file.size() == 0)
        throw emptyFile(path);
    if (!file.isWritable())
        throw readOnlyFile(path);
    // SQLite keeps its rollback journal beside the file.
    if (!QFileInfo(file.absolutePath()).isWritable())
        throw readOnlyFolder(path);

    try {
        sql::Database db = openKeyed(path, password);
        if (db.isReadOnly())
            throw readOnlyFile(path);
        // A file that opening is to change is read whole first, so a damaged one
        // is never written to.
        if (pageCheck == PageCheck::AtOpen || !schemaIsCurrent(db))
            checkIntact(db, path);
        ensureSchemaSeededBy(db, seedList);
        // After the check, which reads every page once and needs no cache for it.
        sizePageCache(db, path);
        return db;
    } catch (const ForeignTableError& error) {
        throw foreignTables(path, error);
    } catch (const sql::Error& error) {
        refuse(path, error);
    }
}

void removeNewFile(const QString& path)
{
    QFile::remove(path + u"-journal"_s);
    QFile::remove(path);
}

sql::Database createNew(const QString& path, const SeedListSource& seedList)
{
    const QFileInfo file(path);
    if (!QFileInfo(file.absolutePath()).isDir())
        throw cannotCreate(path, u"文件夹不存在"_s);
    if (!QFileInfo(file.absolutePath()).isWritable())
        throw readOnlyFolder(path);

    try {
        sql::Database db =
            sql::Database::open(path, QByteArray(ledgerKey), sql::Database::Mode::ReadWriteCreate);
        try {
            ensureSchemaSeededBy(db, seedList);
        } catch (...) {
            // The file is ours and holds nothing yet: leaving it would make the
            // next start find an empty file and refuse it.
            db = sql::Database::openInMemory();
            removeNewFile(path);
            throw;
        }
        return db;
    } catch (const sql::Error& error) {
        throw cannotCreate(path, error.message());
    }
}

} // namespace

LedgerOpenError::LedgerOpenError(Reason reason, const QString& message, bool mayHavePassword)
    : std::runtime_error(message.toStdString()), m_reason(reason), m_message(message),
      m_mayHavePassword(mayHavePassword)
{
}

bool looksEncrypted(const QString& path)
{
    constexpr qint64 pageSize = 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0 || file.size() % pageSize != 0)
        return false;
    return !file.read(16).startsWith("SQLite format 3");
}

QString wrongPasswordText()
{
    return u"密码不对。"_s;
}

QString installedDataFolder(const QString& programDir)
{
    const QDir bin(programDir);
    if (bin.dirName() != u"bin"_s)
        return {};
    const QString data = QDir::cleanPath(bin.absoluteFilePath(u"../share/corvanta"_s));
    return QFileInfo(data).isDir() ? data : QString();
}

QString programDataFolder(const QString& programDir)
{
    const QString installed = installedDataFolder(programDir);
    return installed.isEmpty() ? programDir : installed;
}

QString ledgerFolder(const QString& programDir, const QString& appDataDir)
{
    const QFileInfo program(programDir);
    // A package's files belong to the package manager: the ledger never goes
    // among them, whoever runs the program.
    if (!installedDataFolder(programDir).isEmpty()) {
        QDir().mkpath(appDataDir);
        return appDataDir;
    }
    // A ledger already beside the program stays the one in use; if that folder
    // turned read-only, opening it says so instead of starting an empty ledger.
    if (program.isDir() && (program.isWritable() || QFileInfo::exists(ledgerPath(programDir))))
        return programDir;
    QDir().mkpath(appDataDir);
    return appDataDir;
}

QString ledgerPath(const QString& folder)
{
    return QDir(folder).filePath(QString::fromUtf16(ledgerFileName));
}

sql::Database openLedger(const QString& path, const QList<SeedStock>& seedList)
{
    return openLedgerSeededBy(path, [&seedList] { return seedList; });
}

sql::Database openLedgerSeededBy(const QString& path, const SeedListSource& seedList,
                                 PageCheck check)
{
    // exists() follows symbolic links; a dangling link counts as present so that
    // nothing is created through it.
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return openExisting(path, seedList, nullptr, check);
    return createNew(path, seedList);
}

void checkLedgerPages(sql::Database& db, const QString& path)
{
    try {
        checkIntact(db, path);
    } catch (const sql::Error& error) {
        refuse(path, error);
    }
}

sql::Database openLedger(const QString& path, const QList<SeedStock>& seedList,
                         const QByteArray& password)
{
    return openExisting(
        path, [&seedList] { return seedList; }, &password, PageCheck::AtOpen);
}

} // namespace corvanta::ledger
