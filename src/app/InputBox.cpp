#include "InputBox.h"

#include "windows/LineBreaks.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

// Multiply first, then divide, rounding to the nearest pixel.
int mulDiv(int value, int numerator, int denominator)
{
    return (value * numerator + denominator / 2) / denominator;
}

// Dialog units of a font: the average width of the 52 Latin letters and the
// character height.
struct DialogUnits {
    explicit DialogUnits(const QFont& font)
    {
        const QFontMetrics metrics(font);
        cx = metrics.horizontalAdvance(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"_s) /
             52;
        cy = metrics.height();
    }
    int x(int units) const { return mulDiv(units, cx, 4); }
    int y(int units) const { return mulDiv(units, cy, 8); }

    int cx = 0;
    int cy = 0;
};

} // namespace

QFont inputBoxFont()
{
    QFont font = QApplication::font();
    for (const QString& family : {u"宋体"_s, u"SimSun"_s}) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamilies({family});
            break;
        }
    }
    font.setPointSize(9);
    return font;
}

InputBoxDialog::InputBoxDialog(QWidget* parent, const QString& caption, const QString& prompt,
                               const QString& value, QPoint topLeft)
    : QDialog(parent)
{
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(caption);
    setFont(inputBoxFont());
    const DialogUnits units(font());

    // Created in tab order: the input first, so it takes the focus.
    m_input = new QLineEdit(value, this);
    m_ok = new QPushButton(u"确定(&O)"_s, this);
    m_cancel = new QPushButton(u"取消(&C)"_s, this);
    m_prompt = new QLabel(windows::lineBreaks(prompt), this);

    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setWordWrap(true);
    const int promptWidth = units.x(164);
    const int promptHeight =
        std::max(m_prompt->heightForWidth(promptWidth), QFontMetrics(font()).height());
    m_prompt->setGeometry(units.x(8), units.y(8), promptWidth, promptHeight);

    const int inputTop = m_prompt->geometry().bottom() + 1 + 5;
    m_input->setGeometry(units.x(8), inputTop, units.x(164), m_input->sizeHint().height());

    const int buttonTop = m_input->geometry().bottom() + 1 + 15;
    const int buttonWidth = units.x(50);
    const int buttonHeight = units.y(14);
    m_ok->setGeometry(units.x(38), buttonTop, buttonWidth, buttonHeight);
    m_cancel->setGeometry(units.x(92), buttonTop, buttonWidth, buttonHeight);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(units.x(180), buttonTop + buttonHeight + 13);
    move(topLeft);

    m_input->selectAll();
    m_input->setFocus();
}

std::optional<QString> InputBoxDialog::outcome() const
{
    if (result() != QDialog::Accepted)
        return std::nullopt;
    return m_input->text();
}

std::optional<QString> showInputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                    const QString& value, QPoint topLeft)
{
    InputBoxDialog box(parent, caption, prompt, value, topLeft);
    box.exec();
    return box.outcome();
}

} // namespace corvanta::app
