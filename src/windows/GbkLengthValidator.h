#pragma once

#include <QValidator>

namespace corvanta::windows {

// Holds a line edit to a number of GBK bytes, as the fixed-width name columns
// did. Text typed or committed past the limit is cut back from the cursor, so
// only the part that does not fit is lost, never text already there.
class GbkLengthValidator : public QValidator {
    Q_OBJECT
public:
    GbkLengthValidator(int maxBytes, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    int m_maxBytes;
};

} // namespace corvanta::windows
