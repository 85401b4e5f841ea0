#include "XlsWorkbookReading.h"

#include "XlsCells.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

const QString xlsKind = u"Excel 97-2003 (.xls)"_s;
const QString readerName = u"corvanta-xls-reader"_s;
// No statement has more: a reader that claims more gives an error.
constexpr qsizetype maxRows = 1'000'000;

QString readerProgram()
{
    const QString chosen = qEnvironmentVariable("CORVANTA_XLS_READER");
    if (!chosen.isEmpty())
        return chosen;
    if (!QCoreApplication::instance())
        return QString();
    const QString folder = QCoreApplication::applicationDirPath();
    const QStringList candidates = {folder + u'/' + readerName,
                                    folder + u'/' + QLatin1StringView(CORVANTA_READER_FROM_BINDIR) +
                                        u'/' + readerName};
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return QString();
}

StatementTable unreadable(const QString& reason)
{
    StatementTable table;
    table.kind = xlsKind;
    table.error = u"无法读取该 Excel 文件："_s + reason;
    return table;
}

} // namespace

XlsWorkbookReading::XlsWorkbookReading(const QByteArray& bytes, std::chrono::milliseconds timeout,
                                       QObject* parent)
    : QObject(parent), m_timeout(timeout)
{
    const QString program = readerProgram();
    if (program.isEmpty()) {
        m_refusal = unreadable(u"找不到读取程序 "_s + readerName);
        return;
    }
    // The reader takes a file: the bytes may not be a file of their own.
    if (!m_file.open() || m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        m_refusal = unreadable(u"无法建立临时文件"_s);
        return;
    }
    m_reader.setProgram(program);
    m_reader.setArguments({m_file.fileName()});
    m_clock.setSingleShot(true);
}

XlsWorkbookReading::~XlsWorkbookReading()
{
    // A reading given up: its reader ends, and says nothing more.
    m_reader.disconnect(this);
    m_clock.disconnect(this);
    if (m_reader.state() != QProcess::NotRunning) {
        m_reader.kill();
        m_reader.waitForFinished();
    }
}

void XlsWorkbookReading::start()
{
    if (m_refusal) {
        QMetaObject::invokeMethod(
            this, [this] { finish(*m_refusal); }, Qt::QueuedConnection);
        return;
    }
    connect(&m_reader, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(outcome());
    });
    connect(&m_reader, &QProcess::finished, this, [this] {
        m_clock.stop();
        finish(outcome());
    });
    connect(&m_clock, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        m_reader.kill(); // finished() follows
    });
    m_reader.start(QIODevice::ReadOnly);
    m_clock.start(m_timeout);
}

StatementTable XlsWorkbookReading::read()
{
    if (m_refusal)
        return *m_refusal;
    m_reader.start(QIODevice::ReadOnly);
    if (m_reader.waitForStarted() && !m_reader.waitForFinished(int(m_timeout.count()))) {
        m_timedOut = true;
        m_reader.kill();
        m_reader.waitForFinished();
    }
    return outcome();
}

StatementTable XlsWorkbookReading::outcome()
{
    if (m_reader.error() == QProcess::FailedToStart)
        return unreadable(u"读取程序无法启动（"_s + m_reader.program() + u"）"_s);
    if (m_timedOut)
        return unreadable(u"读取超过 %1 秒，已停止"_s.arg(double(m_timeout.count()) / 1000.0));
    if (m_reader.exitStatus() != QProcess::NormalExit)
        return unreadable(u"读取程序意外终止，文件可能已损坏"_s);
    if (m_reader.exitCode() != 0) {
        const QString reason = QString::fromUtf8(m_reader.readAllStandardError()).trimmed();
        return unreadable(
            reason.isEmpty() || reason.size() > 200 || reason.contains(u'\n')
                ? u"读取程序出错退出（退出码 %1），文件可能已损坏"_s.arg(m_reader.exitCode())
                : reason);
    }
    std::optional<QList<QStringList>> rows = decodeXlsCells(m_reader.readAllStandardOutput());
    if (!rows)
        return unreadable(u"读取程序的输出无法识别"_s);
    if (rows->size() > maxRows)
        return unreadable(u"工作表过大"_s);
    StatementTable table;
    table.kind = xlsKind;
    table.rows = *std::move(rows);
    return table;
}

void XlsWorkbookReading::finish(const StatementTable& table)
{
    if (m_finished)
        return;
    m_finished = true;
    m_clock.stop();
    Q_EMIT finished(table);
}

} // namespace corvanta::exchange
