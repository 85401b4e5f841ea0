#include "ledger/sql/Statement.h"
#include "../StorePrinting.h"
#include "ledger/sql/Database.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace corvanta::sql {
namespace {

class StatementTest : public ::testing::Test {
protected:
    void SetUp() override { db.exec("CREATE TABLE t (a, b)"); }
    bool tableExists() { return db.scalarInt("SELECT count(*) FROM sqlite_master") == 1; }

    Database db = Database::openInMemory();
};

struct SqlText {
    const char* label;
    const char* sql;
    friend void PrintTo(const SqlText& c, std::ostream* os) { *os << c.label; }
};

std::string labelOf(const ::testing::TestParamInfo<SqlText>& info)
{
    return info.param.label;
}

class RefusedText : public StatementTest, public ::testing::WithParamInterface<SqlText> {};

// Nothing of a refused text runs: a statement hidden after the first stays unrun.
TEST_P(RefusedText, ThrowsAndRunsNothing)
{
    EXPECT_THROW(db.prepare(GetParam().sql), Error);
    EXPECT_TRUE(tableExists());
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM t"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedText,
    ::testing::Values(SqlText{"invalid", "SELEC 1"}, SqlText{"unknown_table", "SELECT * FROM u"},
                      SqlText{"empty", ""}, SqlText{"only_semicolons", " ; ;"},
                      SqlText{"only_comment", "-- nothing"},
                      SqlText{"second_statement", "SELECT 1; DROP TABLE t"},
                      SqlText{"second_after_blanks",
                              "INSERT INTO t VALUES (1,2) ;\n  DROP TABLE t;"},
                      SqlText{"second_after_comment", "SELECT 1; /* x */ DELETE FROM t"},
                      SqlText{"second_invalid", "SELECT 1; garbage"}),
    labelOf);

class AcceptedText : public StatementTest, public ::testing::WithParamInterface<SqlText> {};

TEST_P(AcceptedText, RunsTheOneStatement)
{
    Statement insert = db.prepare(GetParam().sql);
    insert.run();
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM t"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AcceptedText,
    ::testing::Values(SqlText{"plain", "INSERT INTO t VALUES (1,2)"},
                      SqlText{"semicolon", "INSERT INTO t VALUES (1,2);"},
                      SqlText{"blanks_and_semicolons", "INSERT INTO t VALUES (1,2) ; ;\n\t "},
                      SqlText{"trailing_comment", "INSERT INTO t VALUES (1,2); -- done"},
                      SqlText{"semicolon_in_literal", "INSERT INTO t VALUES ('a;b', ';')"}),
    labelOf);

class BoundText : public StatementTest, public ::testing::WithParamInterface<QString> {};

// A bound text is stored and found as it stands, whatever quotes or SQL it holds.
TEST_P(BoundText, RoundTripsAndMatchesItself)
{
    Statement insert = db.prepare("INSERT INTO t (a) VALUES (?1)");
    insert.bind(1, GetParam()).run();
    Statement query = db.prepare("SELECT a, typeof(a) FROM t WHERE a = ?1");
    query.bind(1, GetParam());
    ASSERT_TRUE(query.step());
    EXPECT_EQ(query.text(0), GetParam());
    EXPECT_EQ(query.text(1), u"text"_s);
    EXPECT_TRUE(tableExists());
}

INSTANTIATE_TEST_SUITE_P(Texts, BoundText,
                         ::testing::Values(u"O'Neil"_s, u"\"A\""_s, u"'); DROP TABLE t; --"_s,
                                           u"100%_\\"_s, u""_s, u"唐钢股份"_s, u"深发展Ａ"_s,
                                           u"a\nb\tc"_s));

TEST_F(StatementTest, NullIsBoundAndReadAsNull)
{
    Statement insert = db.prepare("INSERT INTO t (a, b) VALUES (?1, ?2)");
    insert.bindNull(1).bind(2, 0.0).run();
    Statement query = db.prepare("SELECT a, b FROM t");
    ASSERT_TRUE(query.step());
    EXPECT_TRUE(query.isNull(0));
    EXPECT_TRUE(query.text(0).isNull());
    EXPECT_EQ(query.optionalReal(0), std::nullopt);
    EXPECT_FALSE(query.isNull(1));
    EXPECT_EQ(query.optionalReal(1), 0.0);
}

TEST_F(StatementTest, UnboundParameterIsNull)
{
    db.prepare("INSERT INTO t (a, b) VALUES (?1, ?2)").bind(2, qint64(1)).run();
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM t WHERE a IS NULL"), 1);
}

TEST_F(StatementTest, ExtremeIntegersRoundTripExactly)
{
    const qint64 values[] = {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min(),
                             9007199254740993, -1, 0};
    Statement insert = db.prepare("INSERT INTO t (a) VALUES (?1)");
    for (qint64 value : values) {
        insert.bind(1, value).run();
        insert.reset();
    }
    Statement query = db.prepare("SELECT a, typeof(a) FROM t ORDER BY rowid");
    for (qint64 value : values) {
        ASSERT_TRUE(query.step());
        EXPECT_EQ(query.int64(0), value);
        EXPECT_EQ(query.text(1), u"integer"_s);
    }
}

TEST_F(StatementTest, ExtremeRealsRoundTripExactly)
{
    const double values[] = {std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(), -1e300, 0.1, 17426.41};
    Statement insert = db.prepare("INSERT INTO t (a) VALUES (?1)");
    for (double value : values) {
        insert.bind(1, value).run();
        insert.reset();
    }
    Statement query = db.prepare("SELECT a FROM t ORDER BY rowid");
    for (double value : values) {
        ASSERT_TRUE(query.step());
        EXPECT_EQ(query.real(0), value);
    }
}

TEST_F(StatementTest, ResetClearsBindingsForReuse)
{
    Statement insert = db.prepare("INSERT INTO t (a, b) VALUES (?1, ?2)");
    insert.bind(1, u"x"_s).bind(2, qint64(1)).run();
    insert.reset();
    insert.bind(1, u"y"_s).run();
    EXPECT_EQ(db.scalarInt("SELECT count(*) FROM t WHERE a='y' AND b IS NULL"), 1);
}

TEST_F(StatementTest, BindingOutOfRangeThrows)
{
    Statement insert = db.prepare("INSERT INTO t (a) VALUES (?1)");
    EXPECT_THROW(insert.bind(2, qint64(1)), Error);
}

// What a failure is, told without SQLite's codes.
TEST_F(StatementTest, ConstraintFailureIsOfKindOther)
{
    db.exec("CREATE TABLE u (k PRIMARY KEY)");
    db.exec("INSERT INTO u VALUES (1)");
    try {
        db.prepare("INSERT INTO u VALUES (1)").run();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.kind(), Error::Kind::Other);
        EXPECT_FALSE(error.isNotADatabase());
        EXPECT_NE(error.code(), 0);
        EXPECT_TRUE(error.message().contains(u"UNIQUE"_s)) << error.message().toStdString();
    }
}

TEST_F(StatementTest, FullDatabaseIsOfKindFull)
{
    db.exec("PRAGMA max_page_count = 3");
    Statement insert = db.prepare("INSERT INTO t (a) VALUES (zeroblob(100000))");
    try {
        insert.run();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.kind(), Error::Kind::Full);
    }
}

class FileKindTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(u"kinds.db"_s); }
    Error::Kind kindOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const Error& error) {
            return error.kind();
        }
        ADD_FAILURE() << "no error";
        return Error::Kind::Other;
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(FileKindTest, OtherKeyIsNotADatabase)
{
    Database::open(path(), "one key", Database::Mode::ReadWriteCreate).exec("CREATE TABLE t (a)");
    EXPECT_EQ(kindOf([&] { Database::open(path(), "other key", Database::Mode::ReadWrite); }),
              Error::Kind::NotADatabase);
}

TEST_F(FileKindTest, TextFileIsNotADatabase)
{
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    EXPECT_EQ(kindOf([&] { Database::open(path(), {}, Database::Mode::ReadWrite); }),
              Error::Kind::NotADatabase);
}

TEST_F(FileKindTest, WriteThroughReadOnlyConnectionIsReadOnly)
{
    Database::open(path(), {}, Database::Mode::ReadWriteCreate).exec("CREATE TABLE t (a)");
    Database reader = Database::open(path(), {}, Database::Mode::ReadOnly);
    EXPECT_TRUE(reader.isReadOnly());
    EXPECT_EQ(kindOf([&] { reader.exec("INSERT INTO t VALUES (1)"); }), Error::Kind::ReadOnly);
}

TEST_F(FileKindTest, WriteLockedByAnotherConnectionIsBusy)
{
    Database holder = Database::open(path(), {}, Database::Mode::ReadWriteCreate);
    holder.exec("CREATE TABLE t (a)");
    EXPECT_FALSE(holder.isReadOnly());
    Transaction held(holder);
    Database other = Database::open(path(), {}, Database::Mode::ReadWrite);
    EXPECT_EQ(kindOf([&] { Transaction blocked(other); }), Error::Kind::Busy);
    EXPECT_FALSE(other.inTransaction());
}

} // namespace
} // namespace corvanta::sql
