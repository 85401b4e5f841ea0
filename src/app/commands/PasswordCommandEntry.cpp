#include "Command.h"

#include "app/PasswordCommand.h"

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

int password(CommandRun& run)
{
    return runPasswordCommand(run.db, run.argument(0), run.words.value(u"new-password-file"_s),
                              run.out, run.err);
}

} // namespace

CommandEntry passwordCommand()
{
    return {
        .name = u"password"_s,
        .synopsis = u"password set|change|remove [--new-password-file FILE]"_s,
        .help = {u"设置、更改或去掉账本密码；新密码从 FILE 读，"_s,
                 u"或者在终端上输入两遍（密码没有提示，无法找回）"_s},
        .options = {QCommandLineOption(u"new-password-file"_s, u"新密码文件"_s, u"FILE"_s)},
        .arguments = {u"set|change|remove"_s},
        .writesFirstArgument = false,
        .run = password,
    };
}

} // namespace corvanta::app::commands
