#pragma once
// Legacy workbooks are read by the reader program in a process of its own. Tests
// run from their own folders, so they name the reader of this build; fake readers
// stand in for one that faults, hangs or talks nonsense.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace corvanta::exchange::xlsreaders {

inline const bool ofThisBuild = qputenv("CORVANTA_XLS_READER", XLS_READER);

// A workbook whose string records the parsing library misreads (it faults under
// AddressSanitizer).
inline const QString damagedWorkbook = QStringLiteral(DAMAGED_WORKBOOK);

// Shell scripts that behave as a reader that went wrong.
inline const QByteArray crashes = "kill -SEGV $$\n";
inline const QByteArray hangs = "exec sleep 30\n";
inline const QByteArray talksNonsense = "printf 'corvanta-xls-cells 1\\n成交日期\\t证券' \n";
inline const QByteArray refuses = "echo '工作表过大' >&2\nexit 1\n";

// Uses a fake reader until it goes out of scope.
class FakeReader {
public:
    explicit FakeReader(const QByteArray& script)
    {
        QFile file(m_dir.filePath(QStringLiteral("reader")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write("#!/bin/sh\n" + script);
            file.close();
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("CORVANTA_XLS_READER", QFile::encodeName(file.fileName()));
    }
    ~FakeReader() { qputenv("CORVANTA_XLS_READER", XLS_READER); }
    FakeReader(const FakeReader&) = delete;
    FakeReader& operator=(const FakeReader&) = delete;

private:
    QTemporaryDir m_dir;
};

} // namespace corvanta::exchange::xlsreaders
