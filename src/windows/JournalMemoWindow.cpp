#include "JournalMemoWindow.h"

#include "journal/NoteTexts.h"
#include "journal/Ratings.h"
#include "model/TradeForm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <cmath>

namespace corvanta::windows {

namespace {

constexpr int defaultPeriod = 20;

std::optional<double> number(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

QFont listFont()
{
    QFont font(QStringLiteral("仿宋"));
    font.setPixelSize(16);
    return font;
}

// A radio group laid out in `columns` columns, the `checked` item chosen.
QGroupBox* radioGroup(const QString& title, const QStringList& items, int columns, int checked,
                      QButtonGroup* group, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        group->addButton(button, i);
        grid->addWidget(button, i / columns, i % columns);
        button->setChecked(i == checked);
    }
    return box;
}

QComboBox* listBox(const QStringList& items, const QString& text, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setFont(listFont());
    box->addItems(items);
    box->setCurrentText(text);
    return box;
}

} // namespace

JournalMemoWindow::JournalMemoWindow(model::TradeForm& trade, QWidget* parent)
    : QWidget(parent, Qt::Window), m_trade(trade), m_ratings(new QButtonGroup(this)),
      m_confirm(new QPushButton(QStringLiteral("加入日志备忘(&O)"), this)),
      m_reachTarget(new QLineEdit(this)), m_highTarget(new QLineEdit(this)),
      m_period(new QLineEdit(QString::number(defaultPeriod), this)),
      m_date(new QDateEdit(QDate::currentDate().addDays(defaultPeriod), this)),
      m_frequencies(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("TForm18"));
    setWindowTitle(journal::texts::memoWindowCaption.toString());
    auto* layout = new QVBoxLayout(this);

    QGroupBox* ratings = radioGroup(QStringLiteral("分级认定"), journal::ratingChoices(), 5,
                                    journal::defaultRatingChoice, m_ratings, this);
    layout->addWidget(ratings);
    m_confirm->setObjectName(QStringLiteral("confirmButton"));
    layout->addWidget(m_confirm);

    auto* phaseBox = new QGroupBox(QStringLiteral("该股当前状态"), this);
    m_phase =
        listBox({QStringLiteral("吸筹初期"), QStringLiteral("吸筹中期"), QStringLiteral("吸筹未期"),
                 QStringLiteral("吸筹结束"), QStringLiteral("吸筹震仓中"),
                 QStringLiteral("即将拉升洗盘"), QStringLiteral("拉升洗盘开始"),
                 QStringLiteral("拉升洗盘中期"), QStringLiteral("拉升洗盘未期"),
                 QStringLiteral("洗盘震仓中"), QStringLiteral("即将拉升派发"),
                 QStringLiteral("拉升派发初期"), QStringLiteral("拉升派发中期"),
                 QStringLiteral("拉升派发未期"), QStringLiteral("新庄入场观查"), QString()},
                QStringLiteral("吸筹初期"), phaseBox);
    (new QVBoxLayout(phaseBox))->addWidget(m_phase);
    layout->addWidget(phaseBox);

    auto* strengthBox = new QGroupBox(QStringLiteral("庄家力度"), this);
    m_strength =
        listBox({QStringLiteral("强庄，换手率平均5%"), QStringLiteral("中庄，换手率平均2%"),
                 QStringLiteral("弱庄，换手率平均1%"), QStringLiteral("疑似游资或私募")},
                QStringLiteral("强庄，换手率平均5%"), strengthBox);
    (new QVBoxLayout(strengthBox))->addWidget(m_strength);
    layout->addWidget(strengthBox);

    auto* targetsBox = new QGroupBox(QStringLiteral("提醒日能达到价格及最高目标价格"), this);
    auto* targets = new QHBoxLayout(targetsBox);
    m_reachTarget->setObjectName(QStringLiteral("reachTarget"));
    m_highTarget->setObjectName(QStringLiteral("highTarget"));
    targets->addWidget(m_reachTarget);
    targets->addWidget(m_highTarget);
    layout->addWidget(targetsBox);

    auto* periodBox = new QGroupBox(QStringLiteral("提醒周期"), this);
    auto* period = new QHBoxLayout(periodBox);
    m_period->setObjectName(QStringLiteral("period"));
    m_date->setObjectName(QStringLiteral("reminderDate"));
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_date->setCalendarPopup(true);
    m_date->setToolTip(QStringLiteral("买卖股票日期选择\r2007年5月30日前印花税为0.1%\r以后为0.3%"));
    period->addWidget(m_period);
    period->addWidget(new QLabel(QStringLiteral("个周期后，即到"), periodBox));
    period->addWidget(m_date);
    period->addWidget(new QLabel(QStringLiteral("提醒"), periodBox));
    layout->addWidget(periodBox);
    connect(m_period, &QLineEdit::textEdited, this, &JournalMemoWindow::periodEdited);

    layout->addWidget(radioGroup(
        QStringLiteral("提醒频率"),
        {QStringLiteral("指定日期　"), QStringLiteral("每天　"), QStringLiteral("每星期　")}, 2, 0,
        m_frequencies, this));

    connect(m_confirm, &QPushButton::clicked, this, &JournalMemoWindow::confirm);
}

QString JournalMemoWindow::ratingChoice() const
{
    return journal::ratingChoices().value(m_ratings->checkedId());
}

journal::ReminderSettings JournalMemoWindow::reminderSettings() const
{
    journal::ReminderSettings settings;
    settings.period = m_period->text();
    if (!m_period->text().trimmed().isEmpty())
        settings.date = m_date->date();
    settings.frequency = journal::Frequency(std::max(0, m_frequencies->checkedId()));
    settings.targets = {number(m_reachTarget->text()), number(m_highTarget->text())};
    settings.basePrice = number(m_trade.currentPrice());
    return settings;
}

void JournalMemoWindow::periodEdited(const QString& text)
{
    // The period counts days from today; the date shows where it ends.
    bool ok = false;
    const int days = text.trimmed().toInt(&ok);
    if (ok && days >= 0)
        m_date->setDate(QDate::currentDate().addDays(days));
}

void JournalMemoWindow::confirm()
{
    Q_EMIT confirmed(ratingChoice(), reminderSettings());
    close();
}

void JournalMemoWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    // Centred on the window it belongs to (the main window), else on the screen.
    const QRect over = parentWidget() ? parentWidget()->window()->frameGeometry()
                                      : (screen() ? screen()->availableGeometry() : QRect());
    if (over.isValid())
        move(over.center() - rect().center());
    if (const std::optional<double> price = number(m_trade.currentPrice()))
        m_reachTarget->setText(QString::number(*price * 2, 'g', QLocale::FloatingPointShortest));
}

} // namespace corvanta::windows
