#pragma once

#include <QObject>

class MessageBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void questionButtonsInChinese();
    void captionShownInFull_data();
    void captionShownInFull();
    void carriageReturnStartsNewLine();
    void shownOverTheActiveWindow();
};
