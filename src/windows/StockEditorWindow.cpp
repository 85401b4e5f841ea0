#include "StockEditorWindow.h"

#include "GbkLengthValidator.h"
#include "LineBreaks.h"
#include "Prompter.h"
#include "calc/NumericKeyFilter.h"
#include "exchange/PinyinCode.h"
#include "ledger/LedgerWriter.h"
#include "ledger/StockTable.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

#include <exception>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

constexpr int nameMaxBytes = 8; // four hanzi
constexpr int codeLength = 6;

// Shown before the two success messages.
const QString messagePrefix = u"　"_s;

QString noteText()
{
    return lineBreaks(
        u"　　不要输入不存在的股票，这\r样会引起实时监控无法获取数据\r：出现网络超时的错误。"_s);
}

bool isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

QPushButton* makeButton(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    // Enter on a focused button presses it, as Enter in the name field leads here.
    button->setAutoDefault(true);
    return button;
}

} // namespace

StockEditorWindow::StockEditorWindow(const ledger::StockTable& stocks, ledger::LedgerWriter& writer,
                                     Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_stocks(stocks), m_writer(writer),
      m_prompter(prompter)
{
    setObjectName(u"TForm8"_s);
    setWindowTitle(u"股票添加窗口"_s);

    auto* group = new QGroupBox(u"添加新股票"_s, this);
    auto* note = new QLabel(noteText(), group);
    note->setTextFormat(Qt::PlainText);

    m_name = new QLineEdit(group);
    m_name->setObjectName(u"Edit1"_s);
    m_name->setValidator(new GbkLengthValidator(nameMaxBytes, m_name));
    m_name->installEventFilter(this);

    m_code = new QLineEdit(group);
    m_code->setObjectName(u"Edit2"_s);
    m_code->setMaxLength(codeLength);
    // The key rules refuse everything but digits; this also keeps pasted text out.
    m_code->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), m_code));
    m_code->installEventFilter(this);

    m_save = makeButton(u"保存(&S)"_s, u"saveButton"_s, group);
    m_cancel = makeButton(u"取消(&C)"_s, u"cancelButton"_s, group);
    m_changeCode = makeButton(u"修改代码(&D)"_s, u"changeCodeButton"_s, group);
    m_update = makeButton(u"更新(&E)"_s, u"updateButton"_s, group);
    m_exit = makeButton(u"退出(&E)"_s, u"exitButton"_s, group);
    m_save->setEnabled(false);
    m_update->setEnabled(false);

    auto* fields = new QGridLayout(group);
    fields->addWidget(note, 0, 0, 1, 2);
    fields->addWidget(new QLabel(u"股票名称"_s, group), 1, 0);
    fields->addWidget(m_name, 1, 1);
    fields->addWidget(new QLabel(u"股票代码"_s, group), 2, 0);
    fields->addWidget(m_code, 2, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_save, m_cancel, m_changeCode, m_update, m_exit})
        buttons->addWidget(button);
    fields->addLayout(buttons, 3, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_save, &QPushButton::clicked, this, &StockEditorWindow::save);
    connect(m_cancel, &QPushButton::clicked, this, &StockEditorWindow::clearName);
    connect(m_changeCode, &QPushButton::clicked, this, &StockEditorWindow::unlockCodeField);
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);

    lockCodeField();
}

void StockEditorWindow::showFor(const QString& mainCode)
{
    m_name->clear();
    // Off the code field first, so locking it moves no focus around.
    m_name->setFocus();
    lockCodeField();
    m_code->setText(mainCode);
    placeOverOwner();
    show();
    raise();
    activateWindow();
    m_name->setFocus();
}

// Over the window it was opened from, not wherever the window manager puts a new
// window.
void StockEditorWindow::placeOverOwner()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible())
        return;
    adjustSize();
    QRect frame = frameGeometry();
    frame.moveCenter(owner->frameGeometry().center());
    move(frame.topLeft());
}

bool StockEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_name) {
        if (event->type() == QEvent::KeyPress)
            return nameFieldKey(static_cast<QKeyEvent*>(event));
        // Hanzi arrive from the input method rather than as keys.
        if (event->type() == QEvent::InputMethod &&
            !static_cast<QInputMethodEvent*>(event)->commitString().isEmpty())
            m_save->setEnabled(true);
    } else if (watched == m_code) {
        if (event->type() == QEvent::KeyPress)
            return codeFieldKey(static_cast<QKeyEvent*>(event));
        // Leaving the field for another control locks it again; losing the focus
        // to a message box or another window does not count as leaving.
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                lockCodeField();
                m_name->setFocus();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool StockEditorWindow::nameFieldKey(QKeyEvent* event)
{
    m_save->setEnabled(true);
    if (isEnter(event)) {
        m_save->setFocus();
        return true;
    }
    return false;
}

bool StockEditorWindow::codeFieldKey(QKeyEvent* event)
{
    if (isEnter(event)) {
        m_name->setFocus();
        return true;
    }
    if (event->key() == Qt::Key_Backspace)
        return false;
    // Only keys that type a character are judged; cursor keys, Tab and shortcuts
    // pass, and the validator keeps pasted text to digits.
    const QString text = event->text();
    if (text.size() != 1 || !text.front().isPrint())
        return false;
    const QChar c = text.front();
    const NumericKey key = c.isDigit() && c.unicode() < 0x80 ? NumericKey::Digit
                           : c == u'.'                       ? NumericKey::Point
                                                             : NumericKey::Other;
    return !fieldKeyAccepted(NumericField::Quantity, m_code->text(), key, c);
}

void StockEditorWindow::save()
{
    const QString name = m_name->text();
    const QString code = m_code->text();
    const QString pinyin = pinyinCode(name);

    if (code.size() < codeLength) {
        m_prompter.inform(u" 代码长度应为六位！"_s);
        unlockCodeField();
        return;
    }
    // A name of blanks only would store a nameless stock.
    if (name.trimmed().isEmpty()) {
        m_prompter.inform(u" 股票名称不能为空！"_s);
        m_name->setFocus();
        return;
    }
    if (!saveStock(code, name, pinyin))
        return;

    m_name->clear();
    m_code->clear();
    m_name->setFocus();
    Q_EMIT stockSaved(code, name);
}

// Adds the stock, or renames it after the user agreed; false when nothing was
// saved. Each change is one transaction, so a database error leaves no trace.
bool StockEditorWindow::saveStock(const QString& code, const QString& name, const QString& pinyin)
{
    enum class Saved { Added, Renamed };
    Saved saved = Saved::Added;
    try {
        if (m_stocks.findByCode(code)) {
            if (!m_prompter.askYesNo(u"股票添加确认"_s,
                                     u"此股票代码重复,是否覆盖？否：取消,是：覆盖"_s)) {
                unlockCodeField();
                return false;
            }
            m_writer.renameStock(code, name, pinyin);
            saved = Saved::Renamed;
        } else {
            m_writer.addStock(code, name, pinyin);
        }
    } catch (const std::exception& error) {
        m_prompter.inform(u"股票没有保存，数据库未作任何修改。\n"_s +
                          QString::fromUtf8(error.what()));
        return false;
    }
    m_prompter.inform(saved == Saved::Renamed ? messagePrefix + u"修改成功!"_s
                                              : messagePrefix + u"添加成功 "_s);
    return true;
}

void StockEditorWindow::clearName()
{
    m_name->clear();
    m_name->setFocus();
}

void StockEditorWindow::unlockCodeField()
{
    m_code->setEnabled(true);
    m_code->setReadOnly(false);
    m_code->setFocus();
}

void StockEditorWindow::lockCodeField()
{
    m_code->setEnabled(false);
    m_code->setReadOnly(true);
}

void StockEditorWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        Q_EMIT shown();
}

void StockEditorWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        Q_EMIT hidden();
}

} // namespace corvanta::windows
