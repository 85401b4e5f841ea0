#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace corvanta::windows {

class MonitorWindow;

// "字体设置窗口": the monitor grid's font size and weight, applied at once.
class MonitorFontWindow : public QDialog {
    Q_OBJECT
public:
    explicit MonitorFontWindow(MonitorWindow& monitor, QWidget* parent = nullptr);

    QComboBox* sizes() const { return m_sizes; }
    QCheckBox* bold() const { return m_bold; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* defaultsButton() const { return m_defaults; }

    void apply();
    void restoreDefaults();

protected:
    void showEvent(QShowEvent* event) override;

private:
    MonitorWindow& m_monitor;
    QComboBox* m_sizes;
    QCheckBox* m_bold;
    QPushButton* m_defaults;
    QPushButton* m_apply;
};

} // namespace corvanta::windows
