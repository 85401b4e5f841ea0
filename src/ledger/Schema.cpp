#include "Schema.h"

#include "sql/Database.h"
#include "sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

// Column names and defaults are those the ledger has always used; the text
// widths of the old schema are not enforced, so long stock names fit whole.
constexpr const char* createGpjl = "CREATE TABLE gpjl ("
                                   "ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                                   "日期 TEXT,"
                                   "股票代码 TEXT,"
                                   "股票名 TEXT,"
                                   "交易状态 TEXT,"
                                   "数量 INTEGER DEFAULT 0,"
                                   "价格 REAL DEFAULT 0,"
                                   "费用 REAL DEFAULT 0,"
                                   "总金额 REAL DEFAULT 0,"
                                   "盈亏金额 REAL DEFAULT 0,"
                                   "虚拟卖出 TEXT DEFAULT '假',"
                                   "监控状态 TEXT DEFAULT '否',"
                                   "印花税 REAL DEFAULT 0,"
                                   "佣金 REAL DEFAULT 0,"
                                   "过户费等 REAL DEFAULT 0,"
                                   "其它费用 REAL DEFAULT 0,"
                                   "备注 TEXT)";

constexpr const char* createGpmc = "CREATE TABLE gpmc ("
                                   "id INTEGER PRIMARY KEY AUTOINCREMENT,"
                                   "gpid TEXT,"
                                   "gpmc TEXT,"
                                   "gppy TEXT)";

constexpr const char* createDxgp = "CREATE TABLE dxgp ("
                                   "ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                                   "日期 TEXT,"
                                   "股票代码 TEXT,"
                                   "股票名 TEXT,"
                                   "时价 TEXT,"
                                   "今开 TEXT,"
                                   "昨收 TEXT,"
                                   "主买 TEXT,"
                                   "主卖 TEXT,"
                                   "评级 TEXT,"
                                   "基本资料 TEXT)";

// A stock's corporate actions (分红送配), ratios per 10 shares. Made by the first
// event written, so an older ledger opens unchanged.
constexpr const char* createFhsp = "CREATE TABLE IF NOT EXISTS fhsp ("
                                   "ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                                   "股票代码 TEXT,"
                                   "股票名 TEXT,"
                                   "登记日 TEXT,"
                                   "除权日 TEXT,"
                                   "派现 REAL DEFAULT 0,"
                                   "送股 REAL DEFAULT 0,"
                                   "转增 REAL DEFAULT 0,"
                                   "配股 REAL DEFAULT 0,"
                                   "配股价 REAL DEFAULT 0,"
                                   "备注 TEXT)";

// The columns every statement of the program relies on. An existing table may
// hold more; it may not hold fewer.
struct TableShape {
    QString name;
    QStringList columns;
};

const TableShape& gpjlShape()
{
    static const TableShape shape{
        QStringLiteral("gpjl"),
        {QStringLiteral("ID"), QStringLiteral("日期"), QStringLiteral("股票代码"),
         QStringLiteral("股票名"), QStringLiteral("交易状态"), QStringLiteral("数量"),
         QStringLiteral("价格"), QStringLiteral("费用"), QStringLiteral("总金额"),
         QStringLiteral("盈亏金额"), QStringLiteral("虚拟卖出"), QStringLiteral("监控状态"),
         QStringLiteral("印花税"), QStringLiteral("佣金"), QStringLiteral("过户费等"),
         QStringLiteral("其它费用"), QStringLiteral("备注")}};
    return shape;
}

const TableShape& gpmcShape()
{
    static const TableShape shape{QStringLiteral("gpmc"),
                                  {QStringLiteral("id"), QStringLiteral("gpid"),
                                   QStringLiteral("gpmc"), QStringLiteral("gppy")}};
    return shape;
}

const TableShape& dxgpShape()
{
    static const TableShape shape{
        QStringLiteral("dxgp"),
        {QStringLiteral("ID"), QStringLiteral("日期"), QStringLiteral("股票代码"),
         QStringLiteral("股票名"), QStringLiteral("时价"), QStringLiteral("今开"),
         QStringLiteral("昨收"), QStringLiteral("主买"), QStringLiteral("主卖"),
         QStringLiteral("评级"), QStringLiteral("基本资料")}};
    return shape;
}

// The journal adds this table to a ledger; a table of its name that lacks these
// columns would fail at the first reminder read.
const TableShape& reminderShape()
{
    static const TableShape shape{
        QStringLiteral("dxgp_reminder"),
        {QStringLiteral("note_id"), QStringLiteral("提醒日期"), QStringLiteral("提醒频率"),
         QStringLiteral("提醒周期"), QStringLiteral("已提醒日期"), QStringLiteral("目标价"),
         QStringLiteral("目标价基准"), QStringLiteral("目标价已到"), QStringLiteral("最高目标价"),
         QStringLiteral("最高目标价基准"), QStringLiteral("最高目标价已到")}};
    return shape;
}

const TableShape& fhspShape()
{
    static const TableShape shape{
        QStringLiteral("fhsp"),
        {QStringLiteral("ID"), QStringLiteral("股票代码"), QStringLiteral("股票名"),
         QStringLiteral("登记日"), QStringLiteral("除权日"), QStringLiteral("派现"),
         QStringLiteral("送股"), QStringLiteral("转增"), QStringLiteral("配股"),
         QStringLiteral("配股价"), QStringLiteral("备注")}};
    return shape;
}

QStringList tableNames(sql::Database& db)
{
    QStringList names;
    auto query = db.prepare("SELECT name FROM sqlite_master WHERE type='table' AND "
                            "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name");
    while (query.step())
        names << query.text(0);
    return names;
}

// Throws when the existing table lacks one of the shape's columns. Column names
// compare ignoring case, as SQLite's do.
void checkColumns(sql::Database& db, const TableShape& shape)
{
    // The name is one of the ledger's own, never user text.
    const QByteArray sql = "PRAGMA table_info(" + shape.name.toUtf8() + ")";
    auto query = db.prepare(sql.constData());
    QStringList present;
    while (query.step())
        present << query.text(1).toLower();
    QStringList missing;
    for (const QString& column : shape.columns) {
        if (!present.contains(column.toLower()))
            missing << column;
    }
    if (!missing.isEmpty())
        throw ForeignTableError(shape.name, missing);
}

bool indexesExist(sql::Database& db)
{
    return db.scalarInt("SELECT count(*) FROM sqlite_master WHERE type='index' AND "
                        "name IN ('gpjl_stock_name','gpmc_gpid','gpjl_grid_by_date',"
                        "'gpjl_grid_by_name','gpjl_grid_by_state')") == 5;
}

void seedSampleTrade(sql::Database& db)
{
    db.exec("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态,印花税,佣金,过户费等,其它费用) VALUES ('2007-05-21','000709',"
            "'唐钢股份','买入',1200,14.46,74.41,17426.41,-17426.41,'假','是',17.35,52.06,5.00,"
            "5.00)");
    db.exec("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,盈亏金额,"
            "虚拟卖出,监控状态) VALUES ('2007-05-21','000709','唐钢股份','卖出',1200,22.45,"
            "166.64,26773.36,-26773.36,'真','是')");
}

void seedStockList(sql::Database& db, const QList<SeedStock>& seedList)
{
    auto insert = db.prepare("INSERT INTO gpmc (gpid,gpmc,gppy) VALUES (?1,?2,?3)");
    for (const SeedStock& stock : seedList) {
        insert.bind(1, stock.code).bind(2, stock.name).bind(3, stock.pinyin);
        insert.run();
        insert.reset();
    }
}

// Every recording and deletion finds a stock's rows by name; every settings row
// and stock is found by its gpid.
void ensureIndexes(sql::Database& db)
{
    db.exec("CREATE INDEX IF NOT EXISTS gpjl_stock_name ON gpjl(股票名)");
    db.exec("CREATE INDEX IF NOT EXISTS gpmc_gpid ON gpmc(gpid)");
    // The ledger grid's two orders of the real trades, read from the index alone.
    // The indexes hold the real-trade mark itself, so the grid's IDs are read
    // without touching a trade's row (this SQLite does not count a partial index's
    // condition as covered); they replace the partial ones of earlier ledgers.
    db.exec("DROP INDEX IF EXISTS gpjl_grid_date");
    db.exec("DROP INDEX IF EXISTS gpjl_grid_name");
    db.exec("CREATE INDEX IF NOT EXISTS gpjl_grid_by_date ON gpjl(虚拟卖出,日期)");
    db.exec("CREATE INDEX IF NOT EXISTS gpjl_grid_by_name ON gpjl(虚拟卖出,股票名)");
    // The few state texts the grid's column is fitted to, found without a scan.
    db.exec("CREATE INDEX IF NOT EXISTS gpjl_grid_by_state ON gpjl(虚拟卖出,交易状态)");
}

} // namespace

ForeignTableError::ForeignTableError(const QString& table, const QStringList& missingColumns)
    : std::runtime_error(
          QString(u"table "_s + table + u" lacks "_s + missingColumns.join(u", "_s)).toStdString()),
      m_table(table), m_missing(missingColumns)
{
}

ForeignTableError ForeignTableError::onlyForeignTables(const QStringList& tables)
{
    ForeignTableError error(gpjlShape().name, gpjlShape().columns);
    error.m_foreignTables = tables;
    return error;
}

QString ForeignTableError::reason() const
{
    if (!m_foreignTables.isEmpty())
        return u"其中只有别的表 "_s + m_foreignTables.join(u'、') +
               u"，没有账本的表 gpjl、gpmc、dxgp"_s;
    return u"表 "_s + m_table + u" 缺少列 "_s + m_missing.join(u'、');
}

bool tableExists(sql::Database& db, const QString& name)
{
    auto query = db.prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND "
                            "lower(name)=lower(?1) LIMIT 1");
    query.bind(1, name);
    return query.step();
}

void requireTradeTables(sql::Database& db)
{
    for (const TableShape* shape : {&gpjlShape(), &gpmcShape()}) {
        if (!tableExists(db, shape->name))
            throw ForeignTableError(shape->name, shape->columns);
        checkColumns(db, *shape);
    }
}

bool ensureSchema(sql::Database& db, const QList<SeedStock>& seedList)
{
    return ensureSchemaSeededBy(db, [&seedList] { return seedList; });
}

bool ensureSchemaSeededBy(sql::Database& db, const SeedListSource& seedList)
{
    const bool needGpjl = !tableExists(db, gpjlShape().name);
    const bool needGpmc = !tableExists(db, gpmcShape().name);
    const bool needDxgp = !tableExists(db, dxgpShape().name);
    // Nothing is written to a file whose tables are not the ledger's.
    if (needGpjl && needGpmc && needDxgp) {
        if (const QStringList others = tableNames(db); !others.isEmpty())
            throw ForeignTableError::onlyForeignTables(others);
    }
    if (!needGpjl)
        checkColumns(db, gpjlShape());
    if (!needGpmc)
        checkColumns(db, gpmcShape());
    if (!needDxgp)
        checkColumns(db, dxgpShape());
    if (tableExists(db, reminderShape().name))
        checkColumns(db, reminderShape());
    if (tableExists(db, fhspShape().name))
        checkColumns(db, fhspShape());
    const bool creates = needGpjl || needGpmc || needDxgp;
    if (!creates && indexesExist(db))
        return false;

    sql::Transaction transaction(db);
    if (needGpjl) {
        db.exec(createGpjl);
        seedSampleTrade(db);
    }
    if (needGpmc) {
        db.exec(createGpmc);
        seedStockList(db, seedList());
    }
    if (needDxgp)
        db.exec(createDxgp);
    ensureIndexes(db);
    transaction.commit();
    return creates;
}

bool schemaIsCurrent(sql::Database& db)
{
    for (const TableShape* shape : {&gpjlShape(), &gpmcShape(), &dxgpShape(), &reminderShape()})
        if (!tableExists(db, shape->name))
            return false;
    return indexesExist(db);
}

bool hasEventTable(sql::Database& db)
{
    return tableExists(db, fhspShape().name);
}

void ensureEventTable(sql::Database& db)
{
    if (hasEventTable(db))
        return;
    db.exec(createFhsp);
    db.exec("CREATE INDEX IF NOT EXISTS fhsp_stock_name ON fhsp(股票名)");
}

} // namespace corvanta::ledger
