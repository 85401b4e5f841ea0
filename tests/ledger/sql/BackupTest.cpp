#include "ledger/sql/Backup.h"
#include "ledger/sql/Database.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace corvanta::sql {
namespace {

// Opens (or creates) a file of the folder, encrypted with `key` unless it is empty.
Database fileWith(const QTemporaryDir& dir, const QString& name, const QByteArray& key)
{
    return Database::open(dir.filePath(name), key, Database::Mode::ReadWriteCreate);
}

struct CopyCase {
    const char* label;
    QByteArray sourceKey;
    QByteArray targetKey;
    bool copies;
};

class CopyDatabase : public ::testing::TestWithParam<CopyCase> {};

// Files encrypted alike copy whole, whatever their keys; a plain file and an
// encrypted one are refused before a page is written.
TEST_P(CopyDatabase, CopiesOnlyBetweenFilesEncryptedAlike)
{
    const CopyCase& c = GetParam();
    QTemporaryDir dir;
    Database source = fileWith(dir, u"source.db"_s, c.sourceKey);
    source.exec("CREATE TABLE t (a)");
    source.exec("INSERT INTO t VALUES (1), (2), (3)");
    Database target = fileWith(dir, u"target.db"_s, c.targetKey);
    target.exec("CREATE TABLE kept (a)");

    if (c.copies) {
        copyDatabase(source, target);
        EXPECT_EQ(target.scalarInt("SELECT count(*) FROM t"), 3);
        return;
    }
    EXPECT_THROW(copyDatabase(source, target), Error);
    EXPECT_EQ(target.scalarInt("SELECT count(*) FROM sqlite_master WHERE name='kept'"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CopyDatabase,
    ::testing::Values(CopyCase{"both_encrypted_with_other_keys", "one", "two", true},
                      CopyCase{"both_plain", {}, {}, true},
                      CopyCase{"plain_into_encrypted", {}, "two", false},
                      CopyCase{"encrypted_into_plain", "one", {}, false}),
    [](const ::testing::TestParamInfo<CopyCase>& row) { return std::string(row.param.label); });

} // namespace
} // namespace corvanta::sql
