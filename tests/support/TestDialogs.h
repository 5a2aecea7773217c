#pragma once

#include "platform/Dialogs.h"

#include <QList>

// Answers the program's dialogs for a test and records what was asked. Replies are taken in
// order; when none is queued, questions are answered with the default reply (OK).
class TestDialogs
{
public:
    TestDialogs();
    ~TestDialogs();
    TestDialogs(const TestDialogs&) = delete;
    TestDialogs& operator=(const TestDialogs&) = delete;

    void queue(Dialogs::Answer answer, const QString& text = QString());
    void setDefault(Dialogs::Answer answer) { m_default = answer; }
    const QList<Dialogs::Request>& requests() const { return m_requests; }
    QStringList texts() const;
    void clear() { m_requests.clear(); }

private:
    QList<Dialogs::Reply> m_replies;
    QList<Dialogs::Request> m_requests;
    Dialogs::Answer m_default = Dialogs::Answer::Ok;
};
