#include "FieldFit.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QRect>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

namespace corvanta::windows {

namespace {

// QLineEdit keeps two pixels between its frame and its text on either side.
constexpr int lineEditTextMargin = 2;

class TextStartKeeper : public QObject {
public:
    explicit TextStartKeeper(QLineEdit* edit) : QObject(edit), m_edit(edit)
    {
        edit->installEventFilter(this);
        // Writing a text moves the cursor to its end, even when the text is the same.
        // A text being typed (modified by keys) is left where the typing puts it.
        connect(edit, &QLineEdit::cursorPositionChanged, this, [this](int, int position) {
            if (position != 0 && !m_edit->hasFocus() && !m_edit->isModified())
                m_edit->setCursorPosition(0);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_edit && event->type() == QEvent::FocusOut)
            m_edit->setCursorPosition(0);
        return false;
    }

private:
    QLineEdit* m_edit;
};

} // namespace

void keepTextStartInView(QLineEdit* edit)
{
    new TextStartKeeper(edit);
    edit->setCursorPosition(0);
}

int widthToShow(const QLineEdit* edit, QStringView sample)
{
    // The frame and padding around the text area, as the line edit lays itself out.
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = QRect(0, 0, 200, 30);
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    return option.rect.width() - contents.width() + margins.left() + margins.right() +
           2 * lineEditTextMargin + edit->fontMetrics().horizontalAdvance(sample.toString()) +
           1; // the cursor's pixel after the last character
}

int comboWidthToShow(const QComboBox* box, QStringView sample)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = true;
    option.frame = box->hasFrame();
    option.rect = QRect(0, 0, 200, 30);
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, box);
    return option.rect.width() - field.width() + widthToShow(box->lineEdit(), sample);
}

} // namespace corvanta::windows
