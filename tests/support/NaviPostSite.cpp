#include "NaviPostSite.h"

#include "SitePages.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QUrl>
#include <QUrlQuery>

struct NaviPostSite::State
{
    QMutex mutex;
    NaviBoardSite* boards = nullptr;
    QString loginId;
    Confirmation confirmation = Confirmation::Plain;
    Result result = Result::Completed;
    int contactDelayMs = 0;
    QString contactRedirect;
    ForeignForm foreignForm = ForeignForm::None;
    QString foreignAction;
    QHash<QByteArray, QList<NaviTestPages::Message>> messages; // by board target
    QList<Post> posts;
    int sentNumber = 0;
};

namespace {

QByteArray shiftJis(const QString& text)
{
    QStringEncoder encoder("CP932");
    return encoder.encode(text);
}

// A field value as an attribute: line breaks as character references, so the page's parser
// keeps them as they are.
QString attribute(const QString& value)
{
    QString escaped = value.toHtmlEscaped();
    escaped.replace(u'\r', QStringLiteral("&#13;"));
    escaped.replace(u'\n', QStringLiteral("&#10;"));
    return escaped;
}

QString hiddenFields(const QList<std::pair<QString, QString>>& fields)
{
    QString html;
    for (const auto& [name, value] : fields)
        html += QStringLiteral("<input type=\"hidden\" name=\"%1\" value=\"%2\">\n")
                    .arg(attribute(name), attribute(value));
    return html;
}

QString contactForm(const QString& aid, const QString& bidId)
{
    return QStringLiteral(
               "<form name=\"contact\" method=\"post\" action=\"%1\">\n"
               "<input type=\"hidden\" name=\"aID\" value=\"%2\">\n"
               "<input type=\"hidden\" name=\"target\" value=\"%3\">\n"
               "<input type=\"radio\" name=\"subject\" "
               "value=\"1\">連絡先、支払い、発送などについて\n"
               "<input type=\"radio\" name=\"subject\" value=\"2\" checked>入金を確認しました\n"
               "<input type=\"radio\" name=\"subject\" value=\"3\">商品を発送しました\n"
               "<input type=\"radio\" name=\"subject\" value=\"4\">その他\n"
               "<input type=\"radio\" name=\"subject\" value=\"9\" checked>ほか\n"
               "<textarea name=\"comment\" rows=\"5\" cols=\"40\"></textarea>\n"
               "<input type=\"submit\" value=\"確認する\">\n"
               "</form>\n")
        .arg(QString::fromLatin1(NaviPostSite::previewPath), attribute(aid), attribute(bidId));
}

// Hidden, aimed at another host, and holding what the site's form holds.
QString foreignForm(const QString& action, const QString& fields)
{
    return QStringLiteral("<form id=\"foreign\" style=\"display:none\" method=\"post\" "
                          "action=\"%1\">\n%2<textarea name=\"comment\"></textarea>\n"
                          "<input type=\"submit\" value=\"投稿する\">\n</form>\n")
        .arg(attribute(action), fields);
}

// Sends the foreign form's text area to its host when the page is left.
QString foreignBeacon()
{
    return QStringLiteral(
        "<script>window.addEventListener('pagehide', function () {\n"
        "  var form = document.getElementById('foreign');\n"
        "  navigator.sendBeacon(form.getAttribute('action') + '?typed=' +\n"
        "                       encodeURIComponent(form.elements.comment.value));\n"
        "});</script>\n");
}

QString page(const QString& body)
{
    return QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" "
                          "content=\"text/html; charset=Shift_JIS\"><title>取引ナビ</title></head>"
                          "<body>\n%1</body></html>\n")
        .arg(body);
}

} // namespace

QString NaviPostSite::Post::field(const QString& name) const
{
    for (const auto& [key, value] : fields)
        if (key == name)
            return value;
    return QString();
}

int NaviPostSite::Post::count(const QString& name) const
{
    int n = 0;
    for (const auto& field : fields)
        n += field.first == name;
    return n;
}

QByteArray NaviPostSite::loginCookieValue(const QString& loginId)
{
    return "login-" + loginId.toLatin1();
}

QList<std::pair<QString, QString>> NaviPostSite::formFields(const QByteArray& body)
{
    QList<std::pair<QString, QString>> fields;
    for (const QByteArray& pair : body.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype eq = pair.indexOf('=');
        QByteArray name = eq < 0 ? pair : pair.left(eq);
        QByteArray value = eq < 0 ? QByteArray() : pair.mid(eq + 1);
        name.replace('+', ' ');
        value.replace('+', ' ');
        QStringDecoder decoder("CP932");
        const QString decodedName = decoder.decode(QByteArray::fromPercentEncoding(name));
        QStringDecoder valueDecoder("CP932");
        fields.append({decodedName, valueDecoder.decode(QByteArray::fromPercentEncoding(value))});
    }
    return fields;
}

NaviPostSite::NaviPostSite(FakeSite& site, NaviBoardSite& boards, const QString& loginId)
    : m_site(site), m_state(std::make_shared<State>())
{
    m_state->boards = &boards;
    m_state->loginId = loginId;
    const std::shared_ptr<State> state = m_state;

    // The logout (plain HTTP) clears the login cookie, the login (HTTPS) sets it.
    m_site.setHandler("POST", "/config/login", [state](const FakeSite::Request& request) {
        FakeSite::Response response = SitePages::page(SitePages::loginAcceptedPage());
        if (request.secure)
            response.headers.append(
                {"Set-Cookie",
                 loginCookieName + '=' + loginCookieValue(state->loginId) + "; path=/"});
        else
            response.headers.append(
                {"Set-Cookie",
                 loginCookieName + "=; expires=Thu, 01 Jan 1970 00:00:00 GMT; path=/"});
        return response;
    });

    m_site.setHandler("GET", "/jp/show/contact", [state](const FakeSite::Request& request) {
        QMutexLocker lock(&state->mutex);
        const QByteArray wanted = loginCookieName + '=' + loginCookieValue(state->loginId);
        FakeSite::Response response;
        if (!request.header("Cookie").split(';').contains(wanted) &&
            !request.header("Cookie").split(';').contains(' ' + wanted)) {
            response = SitePages::page(page(QStringLiteral("ログインしてください。\n")));
        } else if (!state->contactRedirect.isEmpty()) {
            response.status = 302;
            response.headers.append({"Location", state->contactRedirect.toUtf8()});
        } else {
            response = state->boards->answer(request);
            if (response.status == 200) {
                const QUrlQuery query(QUrl(QString::fromLatin1(request.target)));
                QString forms = contactForm(query.queryItemValue(QStringLiteral("aID")),
                                            query.queryItemValue(QStringLiteral("target")));
                if (state->foreignForm == ForeignForm::AfterTheContactForm)
                    forms += foreignForm(state->foreignAction, QString());
                else if (state->foreignForm == ForeignForm::BeforeTheContactForm)
                    forms = foreignForm(state->foreignAction, QString()) + forms + foreignBeacon();
                const qsizetype end = response.body.lastIndexOf("</body>");
                response.body.insert(end < 0 ? response.body.size() : end, shiftJis(forms));
            }
        }
        response.delayMs = state->contactDelayMs;
        return response;
    });

    const auto record = [state](const FakeSite::Request& request) {
        Post post{request.path(), formFields(request.body), request.header("Cookie")};
        state->posts.append(post);
        return post;
    };

    m_site.setHandler("POST", previewPath, [state, record](const FakeSite::Request& request) {
        QMutexLocker lock(&state->mutex);
        const Post post = record(request);
        QString body;
        if (state->confirmation == Confirmation::EditFormFirst)
            body += QStringLiteral("<form method=\"post\" action=\"%1\">\n%2"
                                   "<input type=\"hidden\" name=\"note\" value=\"投函の前に\">\n"
                                   "<input type=\"text\" name=\"memo\" value=\"投稿メモ\">\n"
                                   "<input type=\"submit\" value=\"修正する\">\n</form>\n")
                        .arg(QString::fromLatin1(editPath), hiddenFields(post.fields));
        if (state->foreignForm == ForeignForm::BeforeThePostingForm)
            body += foreignForm(state->foreignAction, hiddenFields(post.fields));
        body += QStringLiteral("<p>以下の内容で投稿します。</p>\n<form method=\"post\" "
                               "action=\"%1\">\n%2<input type=\"submit\" value=\"投稿する\">\n"
                               "</form>\n")
                    .arg(QString::fromLatin1(submitPath), hiddenFields(post.fields));
        return SitePages::page(page(body));
    });

    m_site.setHandler("POST", editPath, [state, record](const FakeSite::Request& request) {
        QMutexLocker lock(&state->mutex);
        record(request);
        return SitePages::page(page(QStringLiteral("<p>修正してください。</p>\n")));
    });

    m_site.setHandler("POST", submitPath, [state, record](const FakeSite::Request& request) {
        QMutexLocker lock(&state->mutex);
        const Post post = record(request);
        if (state->result == Result::NoMarker)
            return SitePages::page(page(QStringLiteral("<p>エラーが発生しました。</p>\n")));
        // The site takes the message: it is on the board from now on.
        const QString aid = post.field(QStringLiteral("aID"));
        const QString bidId = post.field(QStringLiteral("target"));
        const QByteArray target = NaviBoardSite::boardTarget(aid, bidId);
        QList<NaviTestPages::Message>& messages = state->messages[target];
        const int number = messages.isEmpty() ? 1 : messages.first().number.toInt() + 1;
        QString text = post.field(QStringLiteral("comment")).toHtmlEscaped();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
        messages.prepend({QString::number(number), state->loginId,
                          QStringLiteral("件名%1").arg(post.field(QStringLiteral("subject"))),
                          QStringLiteral("12月09日 10時00分"), text});
        state->boards->addBoard(aid, bidId, messages);
        QString body = QStringLiteral("<p>投稿が完了しました</p>\n");
        if (state->result == Result::OpensWindow)
            body += QStringLiteral("<script>window.open('/jp/show/popup', '_blank');</script>\n");
        FakeSite::Response response = SitePages::page(page(body));
        if (state->result == Result::Status500)
            response.status = 500;
        return response;
    });
}

void NaviPostSite::setBoard(const QString& aid, const QString& bidId,
                            const QList<NaviTestPages::Message>& messages)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->messages.insert(NaviBoardSite::boardTarget(aid, bidId), messages);
    m_state->boards->addBoard(aid, bidId, messages);
}

void NaviPostSite::setConfirmation(Confirmation variant)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->confirmation = variant;
}

void NaviPostSite::setResult(Result variant)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->result = variant;
}

void NaviPostSite::setContactDelay(int delayMs)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->contactDelayMs = delayMs;
}

void NaviPostSite::redirectContactTo(const QString& address)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->contactRedirect = address;
}

void NaviPostSite::setForeignForm(ForeignForm variant, const QString& action)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->foreignForm = variant;
    m_state->foreignAction = action;
}

QList<NaviPostSite::Post> NaviPostSite::posts() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->posts;
}

QList<NaviPostSite::Post> NaviPostSite::posts(const QByteArray& path) const
{
    QList<Post> matching;
    for (const Post& post : posts())
        if (post.path == path)
            matching << post;
    return matching;
}

QList<std::pair<QByteArray, QByteArray>> NaviPostSite::contactRequests() const
{
    QList<std::pair<QByteArray, QByteArray>> requests;
    for (const FakeSite::Request& request : m_site.requests())
        if (request.method == "GET" && request.path() == "/jp/show/contact")
            requests.append({request.target, request.header("Cookie")});
    return requests;
}
