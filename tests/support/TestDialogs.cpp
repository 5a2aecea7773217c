#include "TestDialogs.h"

TestDialogs::TestDialogs()
{
    Dialogs::setAnswerer([this](const Dialogs::Request& request) {
        m_requests << request;
        if (m_whileAsking)
            m_whileAsking(request);
        if (!m_replies.isEmpty())
            return m_replies.takeFirst();
        Dialogs::Reply reply;
        reply.answer = m_default;
        if (request.kind == Dialogs::Kind::YesNo)
            reply.answer = m_default == Dialogs::Answer::Ok ? Dialogs::Answer::Yes
                                                            : Dialogs::Answer::No;
        reply.text = request.initialText;
        return reply;
    });
}

TestDialogs::~TestDialogs()
{
    Dialogs::setAnswerer(nullptr);
}

void TestDialogs::queue(Dialogs::Answer answer, const QString& text)
{
    m_replies << Dialogs::Reply{answer, text};
}

QStringList TestDialogs::texts() const
{
    QStringList result;
    for (const Dialogs::Request& request : m_requests)
        result << request.text;
    return result;
}
