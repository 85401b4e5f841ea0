#include "../StorePrinting.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace corvanta::sql {
namespace {

class TransactionTest : public ::testing::Test {
protected:
    void SetUp() override { db.exec("CREATE TABLE t (a TEXT)"); }

    void insert(const QString& value)
    {
        db.prepare("INSERT INTO t VALUES (?1)").bind(1, value).run();
    }
    QStringList rows()
    {
        Statement query = db.prepare("SELECT a FROM t ORDER BY rowid");
        QStringList out;
        while (query.step())
            out << query.text(0);
        return out;
    }

    Database db = Database::openInMemory();
};

TEST_F(TransactionTest, CommitKeepsTheChanges)
{
    {
        Transaction transaction(db);
        EXPECT_TRUE(transaction.isOutermost());
        EXPECT_TRUE(db.inTransaction());
        insert(u"a"_s);
        transaction.commit();
        EXPECT_FALSE(db.inTransaction());
    }
    EXPECT_EQ(rows(), QStringList{u"a"_s});
}

TEST_F(TransactionTest, DestructionWithoutCommitRollsBack)
{
    {
        Transaction transaction(db);
        insert(u"a"_s);
    }
    EXPECT_EQ(rows(), QStringList());
    EXPECT_FALSE(db.inTransaction());
}

TEST_F(TransactionTest, ExceptionRollsBack)
{
    try {
        Transaction transaction(db);
        insert(u"a"_s);
        db.prepare("INSERT INTO missing VALUES (1)");
        transaction.commit();
    } catch (const Error&) {
    }
    EXPECT_EQ(rows(), QStringList());
    EXPECT_FALSE(db.inTransaction());
}

TEST_F(TransactionTest, SecondCommitThrows)
{
    Transaction transaction(db);
    transaction.commit();
    EXPECT_THROW(transaction.commit(), Error);
}

// An outer guard with an inner one; each commits or not.
struct NestingCase {
    const char* label;
    bool innerCommits;
    bool outerCommits;
    QStringList expected;
    friend void PrintTo(const NestingCase& c, std::ostream* os) { *os << c.label; }
};

class Nesting : public TransactionTest, public ::testing::WithParamInterface<NestingCase> {};

TEST_P(Nesting, InnerGuardIsPartOfTheOuterTransaction)
{
    {
        Transaction outer(db);
        insert(u"before"_s);
        {
            Transaction inner(db);
            EXPECT_FALSE(inner.isOutermost());
            insert(u"inner"_s);
            if (GetParam().innerCommits)
                inner.commit();
        }
        // The inner guard never ends the outer transaction.
        EXPECT_TRUE(db.inTransaction());
        insert(u"after"_s);
        if (GetParam().outerCommits)
            outer.commit();
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(rows(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Nesting,
    ::testing::Values(NestingCase{"both_commit", true, true, {u"before"_s, u"inner"_s, u"after"_s}},
                      NestingCase{"inner_rolls_back", false, true, {u"before"_s, u"after"_s}},
                      NestingCase{"outer_rolls_back", true, false, {}},
                      NestingCase{"both_roll_back", false, false, {}}),
    [](const auto& param) { return std::string(param.param.label); });

TEST_F(TransactionTest, RolledBackMiddleGuardUndoesWhatItsInnerGuardCommitted)
{
    {
        Transaction outer(db);
        insert(u"outer"_s);
        {
            Transaction middle(db);
            insert(u"middle"_s);
            Transaction inner(db);
            insert(u"inner"_s);
            inner.commit();
        }
        outer.commit();
    }
    EXPECT_EQ(rows(), QStringList{u"outer"_s});
}

TEST_F(TransactionTest, ExceptionThroughInnerGuardUndoesOnlyItsPart)
{
    Transaction outer(db);
    insert(u"first"_s);
    try {
        Transaction inner(db);
        insert(u"half"_s);
        throw std::runtime_error("refused");
    } catch (const std::runtime_error&) {
    }
    insert(u"second"_s);
    outer.commit();
    EXPECT_EQ(rows(), (QStringList{u"first"_s, u"second"_s}));
}

TEST_F(TransactionTest, SiblingGuardsReuseTheLevel)
{
    Transaction outer(db);
    for (const QString& value : {u"a"_s, u"b"_s, u"c"_s}) {
        Transaction inner(db);
        insert(value);
        if (value != u"b"_s)
            inner.commit();
    }
    outer.commit();
    EXPECT_EQ(rows(), (QStringList{u"a"_s, u"c"_s}));
}

// When the transaction ends behind the guards' backs (SQLite abandons it after a
// full disk or an I/O error), nothing more may run as if it were still open:
// each statement would otherwise commit on its own.
TEST_F(TransactionTest, AbandonedTransactionRefusesEverythingUntilItsGuardsAreGone)
{
    {
        Transaction outer(db);
        insert(u"lost"_s);
        Transaction inner(db);
        db.exec("ROLLBACK");
        EXPECT_THROW(insert(u"stray"_s), Error);
        EXPECT_THROW(db.exec("INSERT INTO t VALUES ('stray')"), Error);
        EXPECT_THROW(Transaction nested(db), Error);
        EXPECT_THROW(inner.commit(), Error);
        EXPECT_THROW(outer.commit(), Error);
    }
    EXPECT_EQ(rows(), QStringList());
    insert(u"afterwards"_s);
    EXPECT_EQ(rows(), QStringList{u"afterwards"_s});
}

TEST_F(TransactionTest, GuardsFollowTheDatabaseWhenItMoves)
{
    Database moved = std::move(db);
    {
        Transaction transaction(moved);
        moved.exec("INSERT INTO t VALUES ('a')");
    }
    EXPECT_EQ(moved.scalarInt("SELECT count(*) FROM t"), 0);
    Transaction outer(moved);
    Transaction inner(moved);
    EXPECT_FALSE(inner.isOutermost());
}

} // namespace
} // namespace corvanta::sql
