#include "TotalsReportWindow.h"

#include "report/TotalsReport.h"
#include "report/TotalsReportTexts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace texts = report::texts;

TotalsReportWindow::TotalsReportWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"totalsReportWindow"_s);
    setWindowTitle(texts::reportCaption.toString());

    auto* notice = new QGroupBox(texts::reportNoticeBox.toString(), this);
    auto* noticeLayout = new QVBoxLayout(notice);
    noticeLayout->addWidget(new QLabel(texts::reportNoticeFirst.toString() + u'\n' +
                                           texts::reportNoticeSecond.toString(),
                                       notice));

    auto* balanceBox = new QGroupBox(texts::reportBalanceBox.toString(), notice);
    auto* balanceLayout = new QVBoxLayout(balanceBox);
    auto* balanceLine = new QHBoxLayout;
    balance = new QLineEdit(texts::reportBalanceInitial.toString(), balanceBox);
    balance->setObjectName(u"balance"_s);
    balance->setReadOnly(true);
    balance->setEnabled(false);
    balance->setToolTip(texts::reportBalanceHint.toString());
    balanceLine->addWidget(new QLabel(texts::reportBalanceBefore.toString(), balanceBox));
    balanceLine->addWidget(balance);
    balanceLine->addWidget(new QLabel(texts::reportBalanceAfter.toString(), balanceBox));
    balanceLayout->addLayout(balanceLine);
    balanceLayout->addWidget(new QLabel(texts::reportBalanceSecondLine.toString(), balanceBox));
    noticeLayout->addWidget(balanceBox);

    auto* result = new QGroupBox(texts::reportResultBox.toString(), this);
    auto* resultLayout = new QVBoxLayout(result);
    text = new QPlainTextEdit(result);
    text->setObjectName(u"reportText"_s);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    resultLayout->addWidget(text);

    closeButton = new QPushButton(texts::reportCloseButton.toString(), this);
    closeButton->setEnabled(false);
    exitButton = new QPushButton(texts::reportExitButton.toString(), this);
    connect(exitButton, &QPushButton::clicked, this, &QWidget::hide);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    buttons->addWidget(exitButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(notice);
    layout->addWidget(result, 1);
    layout->addLayout(buttons);
    resize(440, 540);
}

void TotalsReportWindow::showReport(const report::TotalsReport& report, const QWidget* over)
{
    if (report.balanceText)
        balance->setText(*report.balanceText);
    text->setPlainText(report.lines.join(u'\n'));
    if (over) {
        QRect frame = geometry();
        frame.moveCenter(over->frameGeometry().center());
        setGeometry(frame);
    }
    show();
    raise();
}

QStringList TotalsReportWindow::lines() const
{
    return text->toPlainText().split(u'\n');
}

} // namespace corvanta::windows
