#pragma once

#include "Prompter.h"
#include "exchange/ImportTexts.h"
#include "exchange/StatementImportRun.h"
#include "exchange/StatementParser.h"
#include "ledger/LedgerChanges.h"

#include <QWidget>

#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimer;

namespace corvanta::sql {
class Database;
}
namespace corvanta::exchange {
class CsvTableModel;
}

namespace corvanta::windows {

class FileChooser;
class GenericImportPanel;
class Prompter;

// The broker statement import window: a statement is chosen, shown, confirmed
// and written in one transaction, in slices on a timer so a long statement shows
// its progress. A csv export is only viewed, in a grid coloured by its rows'
// operation. While an import runs the window is modal, so nothing else writes to
// the ledger meanwhile.
class ImportWindow : public QWidget {
    Q_OBJECT
public:
    ImportWindow(sql::Database& db, ledger::LedgerNotifier& notifier, Prompter& prompter,
                 FileChooser& files, QWidget* parent = nullptr);
    ~ImportWindow() override;

    // Statement lines written per slice.
    static constexpr int sliceLines = 500;

    QComboBox* brokers() const { return m_brokers; }
    QRadioButton* textKind() const { return m_textKind; }
    QRadioButton* csvKind() const { return m_csvKind; }
    QLineEdit* pathField() const { return m_path; }
    QPushButton* importButton() const { return m_import; }
    QPlainTextEdit* memo() const { return m_memo; }
    QGroupBox* memoGroup() const { return m_memoGroup; }
    QGroupBox* csvGroup() const { return m_csvGroup; }
    QTableView* csvView() const { return m_csvView; }
    QProgressBar* progress() const { return m_progress; }
    // The choice after the fixed layouts: any statement read by its column names.
    GenericImportPanel* genericPanel() const { return m_generic; }
    bool genericChosen() const;
    bool importing() const;

    // "浏览(&L)".
    void browse();
    // Opens a file as "浏览(&L)" does once the dialog has chosen it.
    void openFile(const QString& path);
    // "导入(&R)".
    void startImport();

Q_SIGNALS:
    void shownChanged(bool shown);
    // An import has ended, committed or not.
    void importEnded(bool committed);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void loadMemo();
    bool ask(const QString& question, Prompter::Default preferred);
    void tell(const QString& message);
    void comeToFront();
    // The file's bytes; none, after telling the user why, when it cannot be read.
    QByteArray readAll(const QString& path);
    void importSlice();
    void endImport();
    const exchange::StatementLayout& layout() const;

    sql::Database& m_db;
    Prompter& m_prompter;
    FileChooser& m_files;
    std::optional<exchange::ImportFileKind> m_kind; // none until the user chooses
    QComboBox* m_brokers = nullptr;
    QRadioButton* m_textKind = nullptr;
    QRadioButton* m_csvKind = nullptr;
    QLineEdit* m_path = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_import = nullptr;
    QGroupBox* m_memoGroup = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QGroupBox* m_csvGroup = nullptr;
    QTableView* m_csvView = nullptr;
    exchange::CsvTableModel* m_csvModel = nullptr;
    QProgressBar* m_progress = nullptr;
    GenericImportPanel* m_generic = nullptr;
    QTimer* m_slices = nullptr;
    exchange::ParsedStatement m_statement;
    exchange::StatementImportRun m_run;
};

} // namespace corvanta::windows
