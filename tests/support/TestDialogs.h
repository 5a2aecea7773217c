#pragma once

#include "platform/Dialogs.h"

#include <QList>

#include <functional>

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
    // Runs while a dialog is up, before it is answered (what a person could do meanwhile).
    void whileAsking(std::function<void(const Dialogs::Request&)> action)
    {
        m_whileAsking = std::move(action);
    }
    void setDefault(Dialogs::Answer answer) { m_default = answer; }
    const QList<Dialogs::Request>& requests() const { return m_requests; }
    QStringList texts() const;
    void clear() { m_requests.clear(); }

private:
    QList<Dialogs::Reply> m_replies;
    QList<Dialogs::Request> m_requests;
    Dialogs::Answer m_default = Dialogs::Answer::Ok;
    std::function<void(const Dialogs::Request&)> m_whileAsking;
};
