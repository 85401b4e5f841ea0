#include "PasswordInput.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

void dropLineEnd(QByteArray& line)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
}

} // namespace

PasswordFile readPasswordFile(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return {{}, u"找不到密码文件“"_s + shown + u"”。"_s};
    if ((status.st_mode & 077) != 0) {
        return {{},
                u"密码文件“"_s + shown + u"”的权限是 "_s +
                    QString::number(status.st_mode & 0777, 8).rightJustified(4, u'0') +
                    u"，同组或其他用户也能读写它，所以不用它。请用 chmod 600 让只有你能读写它。"_s};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, u"无法读取密码文件“"_s + shown + u"”："_s + file.errorString()};
    PasswordFile read{file.readAll(), {}};
    dropLineEnd(read.password);
    if (read.password.isEmpty())
        return {{}, u"密码文件“"_s + shown + u"”是空的。"_s};
    return read;
}

std::optional<QByteArray> askOnTerminal(const QString& prompt)
{
    if (!::isatty(STDIN_FILENO))
        return std::nullopt;
    std::fputs(prompt.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    termios saved{};
    const bool quiet = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        silent.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    QByteArray line;
    line.reserve(1024); // no copies left behind by growing
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        line.append(c);
    c = 0;
    if (quiet)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    dropLineEnd(line);
    return line;
}

} // namespace corvanta::app
