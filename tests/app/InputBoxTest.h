#pragma once

#include <QObject>

class InputBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyPromptStillShowsInputAndButtons();
    void valueStartsFullySelected();
    void answers_data();
    void answers();
    void carriageReturnStartsNewLine_data();
    void carriageReturnStartsNewLine();
    void longPromptWrapsInsideTheBox();
    void placedAtTheGivenCorner();
    void showInputBoxWaitsForTheAnswer_data();
    void showInputBoxWaitsForTheAnswer();
};
