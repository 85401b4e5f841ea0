#pragma once

#include <QStringView>

class QComboBox;
class QLineEdit;

namespace corvanta::windows {

// A narrow field written by the program scrolls to the end of its text, so that
// 1234500.00 reads "234500.00". Kept on the field, this shows the start of the
// text whenever it is written while the user is not typing in it, and when the
// user leaves it.
void keepTextStartInView(QLineEdit* edit);

// The width at which the field shows the sample text in full with its font,
// frame and margins.
int widthToShow(const QLineEdit* edit, QStringView sample);
// The same for an editable combo box, its arrow included.
int comboWidthToShow(const QComboBox* box, QStringView sample);

} // namespace corvanta::windows
