#pragma once

#include "StatementTable.h"

#include <QObject>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

#include <chrono>
#include <optional>

namespace corvanta::exchange {

// A legacy Excel workbook read by the reader program (corvanta-xls-reader) in a
// process of its own, so that a damaged file that faults the parsing library
// ends only that process. Its fault, a run longer than the timeout, an error or
// output that is not whole gives a table whose error is
// "无法读取该 Excel 文件：" and the reason.
//
// The reader is found beside the program (a build tree, a copy) or in the
// package's libexec folder; CORVANTA_XLS_READER names another.
class XlsWorkbookReading : public QObject {
    Q_OBJECT
public:
    explicit XlsWorkbookReading(const QByteArray& bytes,
                                std::chrono::milliseconds timeout = std::chrono::seconds(10),
                                QObject* parent = nullptr);
    ~XlsWorkbookReading() override;

    // Reads while the event loop runs; finished() follows, once, whatever happens.
    void start();
    // Reads and waits for the table (the command line, which has no window).
    StatementTable read();

Q_SIGNALS:
    void finished(const corvanta::exchange::StatementTable& table);

private:
    StatementTable outcome();
    void finish(const StatementTable& table);

    std::chrono::milliseconds m_timeout;
    QTemporaryFile m_file;
    QProcess m_reader;
    QTimer m_clock;
    std::optional<StatementTable> m_refusal; // why the reader cannot even start
    bool m_timedOut = false;
    bool m_finished = false;
};

} // namespace corvanta::exchange
