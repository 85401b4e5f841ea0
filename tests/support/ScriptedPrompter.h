#pragma once

#include "windows/Prompter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

namespace corvanta::test {

// Answers the program's questions without a message box and records what it
// asked and said. A question takes the first queued answer; with the queue
// empty, `decide` answers when set, else `answer` (No, the default button).
class ScriptedPrompter : public windows::Prompter {
public:
    struct Question {
        QString caption;
        QString text;
        QWidget* asker = nullptr; // the window that asks, when one does
        Default preferred = Default::No;
    };

    bool askYesNo(const QString& caption, const QString& text) override
    {
        return askOver(nullptr, caption, text, Default::No);
    }
    void inform(const QString& text) override { informOver(nullptr, text); }
    bool askOver(QWidget* asker, const QString& caption, const QString& text,
                 Default preferred) override
    {
        questions.append({caption, text, asker, preferred});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return decide ? decide(questions.constLast()) : answer;
    }
    void informOver(QWidget* asker, const QString& text) override
    {
        messages.append(text);
        informers.append(asker);
        if (echo)
            qInfo("%s", qPrintable(text));
    }

    // The texts of the questions asked, in order.
    QStringList questionTexts() const
    {
        QStringList texts;
        for (const Question& question : questions)
            texts.append(question.text);
        return texts;
    }
    // Each question as its caption and text joined by `separator`.
    QStringList captionedQuestions(QChar separator) const
    {
        QStringList texts;
        for (const Question& question : questions)
            texts.append(question.caption + separator + question.text);
        return texts;
    }

    QList<bool> answers;
    bool answer = false;
    std::function<bool(const Question&)> decide;
    bool echo = false; // also print each message, for the preview programs
    QList<Question> questions;
    QStringList messages;
    QList<QWidget*> informers; // the window of each message, when one tells it
};

} // namespace corvanta::test
