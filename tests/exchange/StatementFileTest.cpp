#include "exchange/StatementFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {
namespace {

class StatementFileTest : public ::testing::Test {
protected:
    // QTemporaryDir cannot see names that are no UTF-8, so they go first.
    void TearDown() override
    {
        for (const QByteArray& path : m_raw)
            ::unlink(path.constData());
    }

    // Creates a file under exactly these name bytes; returns its path's bytes.
    QByteArray createRaw(const QByteArray& name, const QByteArray& contents)
    {
        const QByteArray path = QFile::encodeName(m_dir.path()) + '/' + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::write(fd, contents.constData(), size_t(contents.size())),
                  ssize_t(contents.size()));
        ::close(fd);
        m_raw << path;
        return path;
    }
    QString folder() const { return m_dir.path(); }

public:
    QString folderPath() const { return folder(); }
    QByteArray create(const QByteArray& name) { return createRaw(name, "x"); }

protected:
    QTemporaryDir m_dir;
    QList<QByteArray> m_raw;
};

const QByteArray gbkName = QStringEncoder("GBK").encode(u"交易记录.txt"_s);

// Qt reads the GBK name as UTF-8, as it reads the program's arguments and the
// names a native file dialog returns: its Chinese becomes U+FFFD.
TEST_F(StatementFileTest, AGbkNamedFileIsReadByTheNameQtGivesIt)
{
    const QByteArray raw = createRaw(gbkName, "statement");
    const QString asQtReadsIt = QFile::decodeName(raw);
    ASSERT_TRUE(asQtReadsIt.contains(QChar::ReplacementCharacter));
    ASSERT_FALSE(QFile::exists(asQtReadsIt));

    const StatementFileContents read = readStatementFile(asQtReadsIt);
    ASSERT_TRUE(read.bytes) << read.error.toStdString();
    EXPECT_EQ(*read.bytes, "statement");
}

TEST_F(StatementFileTest, AGbkNamedFileIsReadByTheNameItMeans)
{
    createRaw(gbkName, "statement");
    const StatementFileContents read = readStatementFile(folder() + u"/交易记录.txt"_s);
    ASSERT_TRUE(read.bytes) << read.error.toStdString();
    EXPECT_EQ(*read.bytes, "statement");
}

TEST_F(StatementFileTest, TheNameAsGivenWinsOverItsGbkForm)
{
    createRaw(gbkName, "gbk");
    createRaw(u"交易记录.txt"_s.toUtf8(), "utf8");
    const StatementFileContents read = readStatementFile(folder() + u"/交易记录.txt"_s);
    ASSERT_TRUE(read.bytes);
    EXPECT_EQ(*read.bytes, "utf8");
}

struct Refusal {
    const char* label;
    std::function<QString(StatementFileTest&)> make; // returns the path to read
    const char16_t* reason;
};

class StatementFileRefusal : public StatementFileTest,
                             public ::testing::WithParamInterface<Refusal> {};

TEST_P(StatementFileRefusal, NamesTheFileAndTheReasonInWords)
{
    const QString path = GetParam().make(*this);
    const StatementFileContents read = readStatementFile(path);
    EXPECT_FALSE(read.bytes);
    EXPECT_TRUE(read.error.startsWith(u"无法读取对账单“"_s + QDir::toNativeSeparators(path)))
        << read.error.toStdString();
    EXPECT_TRUE(read.error.contains(QString::fromUtf16(GetParam().reason)))
        << read.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, StatementFileRefusal,
    ::testing::Values(Refusal{"Missing",
                              // QString, not the builder that would refer to a
                              // temporary gone when the lambda returns.
                              [](StatementFileTest& files) -> QString {
                                  return files.folderPath() + u"/无.txt"_s;
                              },
                              u"找不到这个文件（No such file or directory）"},
                      Refusal{"Folder", [](StatementFileTest& files) { return files.folderPath(); },
                              u"这是一个文件夹"},
                      // Two names that Qt reads as the same text: neither is guessed.
                      Refusal{"TwoNamesReadAlike",
                              [](StatementFileTest& files) {
                                  files.create("\xd5\xcb.txt");
                                  return QFile::decodeName(files.create("\xd6\xcb.txt"));
                              },
                              u"无法分辨"}),
    [](const auto& row) { return std::string(row.param.label); });

} // namespace
} // namespace corvanta::exchange
