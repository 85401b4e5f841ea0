#pragma once

#include "calc/FeeRates.h"
#include "exchange/GenericStatement.h"

#include <QGroupBox>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QSettings;
class QTableView;

namespace corvanta::exchange {
class GenericPreviewModel;
class XlsWorkbookReading;
} // namespace corvanta::exchange

namespace corvanta::windows {

// The part of the import window for a statement read by its column names: the
// file's kind, encoding and separator, its header, a drop-down per field naming
// the column it is read from, and a preview of the lines as they will be stored.
// A mapping the user changes is remembered for files with the same header.
class GenericImportPanel : public QGroupBox {
    Q_OBJECT
public:
    // `rates` prices the fees a file has no column for.
    explicit GenericImportPanel(std::function<FeeRates()> rates, QWidget* parent = nullptr);
    ~GenericImportPanel() override;

    // Where mappings are remembered; the program's settings unless a test says.
    void useSettings(std::unique_ptr<QSettings> settings);

    // Reads the file and shows what it holds; a legacy Excel workbook is read by a
    // program of its own while the window goes on (statementChanged() follows).
    void openFile(const QString& path);
    const exchange::GenericStatement& statement() const { return m_statement; }

    QLabel* description() const { return m_description; }
    QComboBox* columnChoice(exchange::StatementField field) const
    {
        return m_choices[std::size_t(field)];
    }
    QTableView* preview() const { return m_preview; }
    exchange::GenericPreviewModel* previewModel() const { return m_model; }

Q_SIGNALS:
    // The statement was read anew: another file, or another mapping.
    void statementChanged();

private:
    void build();
    void tableRead();
    void display(exchange::GenericStatement statement);
    void columnChosen();

    std::function<FeeRates()> m_rates;
    std::unique_ptr<QSettings> m_settings;
    exchange::StatementTable m_table;
    exchange::XlsWorkbookReading* m_reading = nullptr; // a workbook being read, a child
    exchange::GenericStatement m_statement;
    QLabel* m_description = nullptr;
    std::array<QComboBox*, exchange::statementFieldCount> m_choices{};
    QTableView* m_preview = nullptr;
    exchange::GenericPreviewModel* m_model = nullptr;
    bool m_filling = false;
};

} // namespace corvanta::windows
