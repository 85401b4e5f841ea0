#include "StatementFile.h"

#include "ledger/ErrorWords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringEncoder>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

// An open file descriptor, closed unless handed on.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

// The folder's entries whose names Qt reads as `name` although their bytes are
// not its UTF-8 form.
QList<QByteArray> namesReadAs(const QByteArray& folder, const QString& name)
{
    QList<QByteArray> found;
    DIR* dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray bytes(entry->d_name);
        if (QFile::decodeName(bytes) == name && bytes != QFile::encodeName(name))
            found << bytes;
    }
    ::closedir(dir);
    return found;
}

// The byte names the path may stand for, the plain one first.
QList<QByteArray> candidates(const QString& path)
{
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.path());
    const QString name = info.fileName();
    auto inFolder = [&](const QByteArray& bytes) -> QByteArray {
        return folder + '/' + bytes;
    };

    QList<QByteArray> names{QFile::encodeName(path)};
    for (const QByteArray& bytes : namesReadAs(folder, name))
        names << inFolder(bytes);
    if (!name.contains(QChar::ReplacementCharacter)) {
        QStringEncoder gbk("GBK");
        const QByteArray bytes = gbk.encode(name);
        if (!gbk.hasError() && bytes != QFile::encodeName(name))
            names << inFolder(bytes);
    }
    return names;
}

StatementFileContents refusal(const QString& path, const QString& reason)
{
    return {std::nullopt,
            u"无法读取对账单“"_s + QDir::toNativeSeparators(path) + u"”："_s + reason + u"。"_s};
}

} // namespace

StatementFileContents readStatementFile(const QString& path)
{
    const QList<QByteArray> names = candidates(path);
    // The name as given wins; another is taken only when exactly one opens.
    int fd = ::open(names.first().constData(), O_RDONLY | O_CLOEXEC);
    const int plainError = errno;
    if (fd < 0 && plainError == ENOENT) {
        for (qsizetype i = 1; i < names.size(); ++i) {
            const int other = ::open(names[i].constData(), O_RDONLY | O_CLOEXEC);
            if (other < 0)
                continue;
            if (fd >= 0) {
                ::close(other);
                ::close(fd);
                return refusal(path, u"文件夹中有不止一个文件的名称显示为这个名称，无法分辨"_s);
            }
            fd = other;
        }
    }
    if (fd < 0)
        return refusal(path, ledger::fileErrorInWords(plainError));
    Descriptor file(fd);

    struct stat status {};
    if (::fstat(file.get(), &status) == 0 && S_ISDIR(status.st_mode))
        return refusal(path, ledger::fileErrorInWords(EISDIR));
    QFile reader;
    if (!reader.open(file.release(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return refusal(path, reader.errorString());
    const QByteArray bytes = reader.readAll();
    if (reader.error() != QFileDevice::NoError)
        return refusal(path, ledger::fileErrorInWords(EIO));
    return {bytes, {}};
}

} // namespace corvanta::exchange
