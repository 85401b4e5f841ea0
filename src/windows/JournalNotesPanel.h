#pragma once

#include <QGroupBox>

class QTableView;

namespace corvanta::windows {

class JournalTableModel;

// The group "待选股票列表": the read-only grid of the notes under the quote header.
// A click into the grid, or Page Up, Page Down, Up, Down or Enter released in it,
// chooses the note under the cursor.
class JournalNotesPanel : public QGroupBox {
    Q_OBJECT
public:
    JournalNotesPanel(JournalTableModel& model, QWidget* parent = nullptr);

    QTableView* grid() const { return m_grid; }
    // The selected note's grid row, or -1.
    int currentRow() const;
    void selectRow(int row);
    // The header turns red at every selection and every add, and stays so.
    void markHeader();

Q_SIGNALS:
    void noteChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitColumns();

    QTableView* m_grid;
};

} // namespace corvanta::windows
