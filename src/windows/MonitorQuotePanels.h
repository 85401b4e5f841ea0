#pragma once

#include "market/QuoteParsing.h"

#include <QHash>
#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace corvanta::windows {

// The head stock's thirteen quote fields in two panels, and the link to its
// K-line chart.
class MonitorQuotePanels : public QWidget {
    Q_OBJECT
public:
    explicit MonitorQuotePanels(QWidget* parent = nullptr);

    // The first panel's caption: name + " 实时数据".
    void setStockName(const QString& name);
    // Fills the fields from a record; 涨跌 and 幅度 in their sign's colour.
    void show(const market::MonitorQuoteDisplay& display);
    // The chart link for a stock; hidden for an unnamed stock.
    void setChartLink(const QString& name, const QString& code);
    QLineEdit* field(const QString& caption) const { return m_fields.value(caption); }
    QLabel* chartLink() const { return m_link; }
    // The chart link's popup menu, which the program fills with the portals'
    // pages, and the code whose pages they open.
    QMenu* chartPages() const { return m_pages; }
    QString chartCode() const { return m_linkCode; }

private:
    QGroupBox* m_first;
    QLabel* m_link;
    QMenu* m_pages;
    QString m_linkCode;
    QHash<QString, QLineEdit*> m_fields;
};

} // namespace corvanta::windows
