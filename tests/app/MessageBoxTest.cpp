#include "MessageBoxTest.h"

#include "app/QtTranslations.h"
#include "windows/Prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;
using corvanta::windows::MessageBoxPrompter;

namespace {

// Runs `look` on the message box once it is shown, then closes it with Escape.
void whenBoxShows(std::function<void(QMessageBox&)> look)
{
    QTimer::singleShot(0, [look = std::move(look)] {
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        look(*box);
        box->reject();
    });
}

bool hasHanzi(const QString& text)
{
    return text.contains(QRegularExpression(u"[\\x{4e00}-\\x{9fff}]"_s));
}

} // namespace

void MessageBoxTest::questionButtonsInChinese()
{
    QVERIFY(corvanta::app::installQtTranslations(*qApp));
    QString yes, no;
    whenBoxShows([&](QMessageBox& box) {
        yes = box.button(QMessageBox::Yes)->text();
        no = box.button(QMessageBox::No)->text();
    });

    MessageBoxPrompter().askYesNo(u"股票添加确认"_s, u"此股票无记录,是否添加？"_s);

    QVERIFY2(hasHanzi(yes), qPrintable(yes));
    QVERIFY2(hasHanzi(no), qPrintable(no));
}

void MessageBoxTest::captionShownInFull_data()
{
    QTest::addColumn<bool>("question");
    QTest::addColumn<QString>("text");
    QTest::newRow("message") << false << u"添加成功 "_s;
    QTest::newRow("question") << true << u"是否删除？"_s;
}

void MessageBoxTest::captionShownInFull()
{
    QFETCH(bool, question);
    QFETCH(QString, text);
    QString caption;
    int width = 0;
    whenBoxShows([&](QMessageBox& box) {
        caption = box.windowTitle();
        width = box.width();
    });

    MessageBoxPrompter prompter;
    if (question)
        prompter.askYesNo(u"Corvanta  Ostrel 删除确认"_s, text);
    else
        prompter.inform(text);

    // Room for the caption in a bold title font, an icon and three buttons.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int needed = QFontMetrics(titleFont).horizontalAdvance(caption) + 120;
    QVERIFY2(width >= needed, qPrintable(u"%1 < %2"_s.arg(width).arg(needed)));
}

void MessageBoxTest::carriageReturnStartsNewLine()
{
    QString shown;
    whenBoxShows([&](QMessageBox& box) { shown = box.text(); });

    MessageBoxPrompter().inform(u"第一行\r第二行\r\n第三行"_s);

    QCOMPARE(shown, u"第一行\n第二行\n第三行"_s);
}

void MessageBoxTest::shownOverTheActiveWindow()
{
    QWidget main;
    main.show();
    QWidget onTop(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    onTop.show();
    onTop.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&onTop));
    QWidget* owner = nullptr;
    whenBoxShows([&](QMessageBox& box) { owner = box.parentWidget(); });

    MessageBoxPrompter(&main).inform(u"股票名称不能为空！"_s);

    QCOMPARE(owner, &onTop);
}
