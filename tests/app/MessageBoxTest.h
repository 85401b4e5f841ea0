#pragma once

#include <QObject>

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void questionButtonsInChinese();
    void captionShownInFull_data();
    void captionShownInFull();
    void carriageReturnStartsNewLine();
    void shownOverTheActiveWindow();
};
