#include "InputBoxTest.h"

#include "app/InputBox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using corvanta::app::InputBoxDialog;

namespace {

enum class Answer { ClickOk, ClickCancel, PressEnter, PressEscape, CloseWindow };

} // namespace

Q_DECLARE_METATYPE(Answer)

void InputBoxTest::emptyPromptStillShowsInputAndButtons()
{
    InputBoxDialog box(nullptr, u"窗口标题"_s, QString(), u"abc"_s, QPoint(60, 120));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    QCOMPARE(box.windowTitle(), u"窗口标题"_s);
    QCOMPARE(box.okButton()->text(), u"确定(&O)"_s);
    QCOMPARE(box.cancelButton()->text(), u"取消(&C)"_s);
    QVERIFY(box.okButton()->isDefault());
    const QRect client = box.rect();
    for (QWidget* widget :
         {static_cast<QWidget*>(box.input()), static_cast<QWidget*>(box.okButton()),
          static_cast<QWidget*>(box.cancelButton())}) {
        QVERIFY(widget->isVisible());
        QVERIFY(widget->height() > 0);
        QVERIFY(client.contains(widget->geometry()));
    }
    QVERIFY(box.input()->geometry().top() > box.promptLabel()->geometry().bottom());
    QVERIFY(box.okButton()->geometry().top() > box.input()->geometry().bottom());
    QVERIFY(box.okButton()->geometry().right() < box.cancelButton()->geometry().left());
}

void InputBoxTest::valueStartsFullySelected()
{
    InputBoxDialog box(nullptr, u"代理服务器"_s, u"请输入"_s, u"X.X.X.X:X"_s, QPoint(0, 0));
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QVERIFY(box.input()->hasFocus());
    QCOMPARE(box.input()->selectedText(), u"X.X.X.X:X"_s);
}

void InputBoxTest::answers_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("OK button") << Answer::ClickOk << true;
    QTest::newRow("Enter in the input") << Answer::PressEnter << true;
    QTest::newRow("Cancel button") << Answer::ClickCancel << false;
    QTest::newRow("Escape") << Answer::PressEscape << false;
    QTest::newRow("window closed") << Answer::CloseWindow << false;
}

void InputBoxTest::answers()
{
    QFETCH(Answer, answer);
    QFETCH(bool, accepted);
    InputBoxDialog box(nullptr, u"窗口标题"_s, u"请输入自定义窗口标题:　　"_s, u"old"_s,
                       QPoint(60, 120));
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    // The value is selected, so typing replaces it.
    QTest::keyClicks(box.input(), u"edited"_s);

    switch (answer) {
    case Answer::ClickOk:
        QTest::mouseClick(box.okButton(), Qt::LeftButton);
        break;
    case Answer::ClickCancel:
        QTest::mouseClick(box.cancelButton(), Qt::LeftButton);
        break;
    case Answer::PressEnter:
        QTest::keyClick(box.input(), Qt::Key_Return);
        break;
    case Answer::PressEscape:
        QTest::keyClick(box.input(), Qt::Key_Escape);
        break;
    case Answer::CloseWindow:
        box.close();
        break;
    }

    QVERIFY(!box.isVisible());
    const std::optional<QString> outcome = box.outcome();
    QCOMPARE(outcome.has_value(), accepted);
    if (accepted)
        QCOMPARE(*outcome, u"edited"_s);
}

void InputBoxTest::carriageReturnStartsNewLine_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("lines");
    QTest::newRow("one line") << u"代理服务器地址未设置起用"_s << 1;
    QTest::newRow("carriage return")
        << u"代理服务器地址未设置起用\r请输入代理服务器地址及端口号："_s << 2;
    QTest::newRow("carriage return and line feed") << u"第一行\r\n第二行"_s << 2;
    QTest::newRow("two carriage returns") << u"一\r二\r三"_s << 3;
}

void InputBoxTest::carriageReturnStartsNewLine()
{
    QFETCH(QString, prompt);
    QFETCH(int, lines);
    InputBoxDialog single(nullptr, u"t"_s, u"一"_s, QString(), QPoint(0, 0));
    InputBoxDialog box(nullptr, u"t"_s, prompt, QString(), QPoint(0, 0));

    const int lineHeight = single.promptLabel()->height();
    const int extra = box.promptLabel()->height() - lineHeight;
    // Each further line adds about one line's height; the rest of the box moves
    // down with the prompt.
    QVERIFY(extra >= (lines - 1) * lineHeight * 3 / 4);
    QVERIFY(extra <= (lines - 1) * lineHeight * 3 / 2);
    QCOMPARE(box.input()->y() - single.input()->y(), extra);
    QCOMPARE(box.height() - single.height(), extra);
    QVERIFY(!box.promptLabel()->text().contains(u'\r'));
}

void InputBoxTest::longPromptWrapsInsideTheBox()
{
    const QString prompt(60, QChar(u'字'));
    InputBoxDialog single(nullptr, u"t"_s, u"一"_s, QString(), QPoint(0, 0));
    InputBoxDialog box(nullptr, u"t"_s, prompt, QString(), QPoint(0, 0));
    QCOMPARE(box.width(), single.width());
    QVERIFY(box.promptLabel()->geometry().right() < box.width());
    QVERIFY(box.promptLabel()->height() >= 2 * single.promptLabel()->height());
}

void InputBoxTest::placedAtTheGivenCorner()
{
    InputBoxDialog box(nullptr, u"t"_s, u"p"_s, QString(), QPoint(160, 220));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.frameGeometry().topLeft(), QPoint(160, 220));
}

void InputBoxTest::showInputBoxWaitsForTheAnswer_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void InputBoxTest::showInputBoxWaitsForTheAnswer()
{
    QFETCH(bool, ok);
    // Answers the box once it runs modally.
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<InputBoxDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        answerer.stop();
        box->input()->setText(u"新标题"_s);
        (ok ? box->okButton() : box->cancelButton())->click();
    });
    answerer.start(10);

    const auto result =
        corvanta::app::showInputBox(nullptr, u"窗口标题"_s, u"请输入"_s, u"旧"_s, QPoint(0, 0));
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, u"新标题"_s);
}
