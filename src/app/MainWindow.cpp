#include "MainWindow.h"

#include "FeeController.h"
#include "LedgerPanel.h"
#include "MainMenus.h"
#include "ParametersPanel.h"
#include "SellTargetGroup.h"
#include "StatusBarPanels.h"
#include "TradePanel.h"
#include "app/Version.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSlider>
#include <QStandardItemModel>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

constexpr int clientWidth = 558;
constexpr int clientHeight = 560;

QLabel* mottoLabel(QWidget* parent)
{
    auto* motto = new QLabel(u"股市有风险 投资须谨慎"_s, parent);
    QFont font(u"仿宋_GB2312"_s);
    font.setPixelSize(21);
    font.setBold(true);
    motto->setFont(font);
    motto->setStyleSheet(u"color: green;"_s);
    motto->setAlignment(Qt::AlignCenter);
    motto->setGeometry(0, 0, 262, 37);
    return motto;
}

} // namespace

MainWindow::MainWindow(SessionState& state, sql::Database& db, QWidget* parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                      Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_state(state), m_db(db)
{
    setWindowTitle(u"Corvanta "_s);
    QFont font = this->font();
    font.setPixelSize(12);
    setFont(font);
    buildLayout();
    m_menus = new MainMenus(menuBar(), this);
    m_status = new StatusBarPanels(statusBar(), QString::fromLatin1(CORVANTA_VERSION));
    m_fees = new FeeController(m_state, *m_parameters, *m_trade, this);
    wireWindowBehaviour();
    setFixedSize(clientWidth, clientHeight + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::buildLayout()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    mottoLabel(central);
    m_parameters = new ParametersPanel(central);
    m_parameters->setGeometry(9, 38, 250, 157);
    m_trade = new TradePanel(central);
    m_trade->setGeometry(266, 7, 288, 331);
    m_profitTargets = new SellTargetGroup(SellTargetGroup::Kind::Profit, central);
    m_profitTargets->setGeometry(4, 198, 261, 69);
    m_lossTargets = new SellTargetGroup(SellTargetGroup::Kind::Loss, central);
    m_lossTargets->setGeometry(4, 268, 261, 69);
    m_ledger = new LedgerPanel(central);
    m_ledger->setGeometry(0, 337, 553, 194);

    m_viewSelector = new QComboBox(central);
    m_viewSelector->setObjectName(u"viewSelector"_s);
    m_viewSelector->addItems({u"交易记录"_s, u"交易汇总"_s});
    m_viewSelector->setToolTip(u"点击显示所有买卖股票数据"_s);
    // The summary view arrives with the position summary.
    if (auto* model = qobject_cast<QStandardItemModel*>(m_viewSelector->model()))
        model->item(1)->setEnabled(false);
    m_viewSelector->setGeometry(475, 337, 78, 18);
    m_viewSelector->raise();
}

void MainWindow::wireWindowBehaviour()
{
    connect(m_parameters->opacitySlider, &QSlider::valueChanged, this,
            [this](int position) { setWindowOpacity((255 - position) / 255.0); });
    connect(m_fees, &FeeController::codeFocusWanted, this,
            [this] { m_trade->code->setFocus(Qt::OtherFocusReason); });
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // Enter that no control took moves on to the code input.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_trade->code->setFocus(Qt::OtherFocusReason);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace corvanta::app
