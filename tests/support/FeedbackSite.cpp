#include "FeedbackSite.h"

#include "platform/DataFolder.h"
#include "platform/IniFile.h"

#include <QMutex>
#include <QMutexLocker>

struct FeedbackSite::State
{
    QMutex mutex;
    Confirmation confirmation = Confirmation::Upper;
    Result result = Result::Sent;
    int formDelayMs = 0;
    QString formRedirect;
    ForeignForm foreignForm = ForeignForm::None;
    QString foreignAction;
    QList<Hit> hits;
};

namespace {

QByteArray page(const QString& body)
{
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>評価</title></head>"
                          "<body>\n%1</body></html>")
        .arg(body)
        .toUtf8();
}

FakeSite::Response html(const QString& body)
{
    FakeSite::Response response;
    response.contentType = "text/html; charset=utf-8";
    response.body = page(body);
    return response;
}

// A field value as an attribute: line breaks as character references, kept as they are.
QString attribute(const QString& value)
{
    QString escaped = value.toHtmlEscaped();
    escaped.replace(u'\r', QStringLiteral("&#13;"));
    escaped.replace(u'\n', QStringLiteral("&#10;"));
    return escaped;
}

QList<std::pair<QString, QString>> formFields(const QByteArray& body)
{
    QList<std::pair<QString, QString>> fields;
    for (QByteArray pair : body.split('&')) {
        if (pair.isEmpty())
            continue;
        pair.replace('+', ' ');
        const qsizetype eq = pair.indexOf('=');
        const QByteArray name = eq < 0 ? pair : pair.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : pair.mid(eq + 1);
        fields.append({QString::fromUtf8(QByteArray::fromPercentEncoding(name)),
                       QString::fromUtf8(QByteArray::fromPercentEncoding(value))});
    }
    return fields;
}

// Hidden, aimed at another host, with the fields given.
QString foreignForm(const QString& action, const QString& fields)
{
    return QStringLiteral("<form style=\"display:none\" method=\"post\" action=\"%1\">\n%2"
                          "<input type=\"submit\" value=\"評価を送信する\">\n</form>\n")
        .arg(attribute(action), fields);
}

} // namespace

QString FeedbackSite::Hit::field(const QString& name) const
{
    for (const auto& [key, value] : fields)
        if (key == name)
            return value;
    return QString();
}

const QStringList& FeedbackSite::ratingTexts()
{
    static const QStringList texts = {QStringLiteral("非常に良い"), QStringLiteral("良い"),
                                      QStringLiteral("どちらでもない"), QStringLiteral("悪い"),
                                      QStringLiteral("非常に悪い")};
    return texts;
}

FeedbackSite::FeedbackSite(FakeSite& site) : m_site(site), m_state(std::make_shared<State>())
{
    IniFile ini(DataFolder::filePath(QStringLiteral("setting.ini")));
    ini.writeString(QStringLiteral("Site"), QStringLiteral("ItemPagePrefix"),
                    QStringLiteral("page"));
    ini.writeString(QStringLiteral("Site"), QStringLiteral("FeedbackHostPrefix"),
                    QStringLiteral("edit"));
    ini.writeString(QStringLiteral("Site"), QStringLiteral("AuctionDomain"),
                    QStringLiteral("localhost:") + QString::number(site.port()));

    const std::shared_ptr<State> state = m_state;
    const auto record = [state](const FakeSite::Request& request) {
        Hit hit{request.method, request.path(), request.query(), request.header("Host"),
                request.method == "POST" ? formFields(request.body)
                                         : QList<std::pair<QString, QString>>()};
        QMutexLocker lock(&state->mutex);
        state->hits.append(hit);
        return hit;
    };

    m_site.setHandler("GET", formPath, [record, state](const FakeSite::Request& request) {
        record(request);
        int delayMs;
        QString redirect, foreign;
        {
            QMutexLocker lock(&state->mutex);
            delayMs = state->formDelayMs;
            redirect = state->formRedirect;
            if (state->foreignForm == ForeignForm::AfterTheFeedbackForm)
                foreign = foreignForm(state->foreignAction,
                                      QStringLiteral("<textarea name=\"comment\"></textarea>\n"));
        }
        if (!redirect.isEmpty()) {
            FakeSite::Response response;
            response.status = 302;
            response.headers.append({"Location", redirect.toUtf8()});
            return response;
        }
        QString options = QStringLiteral("<option value=\"\">選択してください</option>\n");
        for (int i = 0; i < 5; ++i)
            options += QStringLiteral("<option value=\"%1\">%2</option>\n")
                           .arg(i + 1)
                           .arg(ratingTexts()[i]);
        FakeSite::Response response =
            html(QStringLiteral("<form method=\"post\" action=\"%1\">\n"
                                "<select name=\"rating\">\n%2</select>\n"
                                "<textarea name=\"comment\" rows=\"5\"></textarea>\n"
                                "<input type=\"submit\" value=\"確認する\">\n"
                                "</form>\n%3")
                     .arg(QString::fromLatin1(previewPath), options, foreign));
        response.delayMs = delayMs;
        return response;
    });

    m_site.setHandler("POST", previewPath, [record, state](const FakeSite::Request& request) {
        const Hit hit = record(request);
        Confirmation variant;
        QString foreignAction;
        {
            QMutexLocker lock(&state->mutex);
            variant = state->confirmation;
            if (state->foreignForm == ForeignForm::BeforeTheSendForm)
                foreignAction = state->foreignAction;
        }
        const int number = hit.field(QStringLiteral("rating")).toInt();
        QString shown = number >= 1 && number <= 5 ? ratingTexts()[number - 1] : QString();
        if (variant == Confirmation::OtherRating)
            shown = ratingTexts()[0];
        const QString comment = hit.field(QStringLiteral("comment"));
        const QString echo =
            QStringLiteral("<input type=\"hidden\" name=\"comment\" value=\"%1\">\n"
                           "<input type=\"hidden\" name=\"rating\" value=\"%2\">\n")
                .arg(attribute(comment))
                .arg(number);
        // An edit form first, its comment echoed in a hidden and a text input.
        QString body = QStringLiteral("<form method=\"post\" action=\"%1\">\n%2"
                                      "<input type=\"text\" name=\"shown\" value=\"%3\">\n"
                                      "<input type=\"submit\" value=\"修正する\">\n</form>\n")
                           .arg(QString::fromLatin1(editPath), echo, attribute(comment));
        if (!foreignAction.isEmpty())
            body += foreignForm(foreignAction, echo);
        body += QStringLiteral("<form method=\"post\" action=\"%1\">\n%2"
                               "<input type=\"submit\" value=\"評価を送信する\">\n</form>\n")
                    .arg(QString::fromLatin1(submitPath), echo);
        const QString rating = variant == Confirmation::Lower
                                   ? QStringLiteral("<b>評価</b>\n<small>%1</small>\n")
                                   : QStringLiteral("<B>評価</B>\n<SMALL>%1</SMALL>\n");
        if (variant == Confirmation::MarkerLast) {
            // The body's outer HTML ends the marker's line with "</body>", no line follows.
            FakeSite::Response response = html(QString());
            response.body = page(body).replace("</body>", "<B>評価</B></body>");
            return response;
        }
        return html(rating.arg(shown) + body);
    });

    const auto result = [record, state](const FakeSite::Request& request) {
        record(request);
        QMutexLocker lock(&state->mutex);
        return html(state->result == Result::Sent ? QStringLiteral("<p>評価を送信しました</p>\n")
                                                  : QStringLiteral("<p>エラー</p>\n"));
    };
    m_site.setHandler("POST", submitPath, result);
    m_site.setHandler("POST", editPath, [record](const FakeSite::Request& request) {
        record(request);
        return html(QStringLiteral("<p>修正</p>\n"));
    });
}

void FeedbackSite::setConfirmation(Confirmation variant)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->confirmation = variant;
}

void FeedbackSite::setFormDelay(int delayMs)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->formDelayMs = delayMs;
}

void FeedbackSite::redirectFormTo(const QString& address)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->formRedirect = address;
}

void FeedbackSite::setForeignForm(ForeignForm variant, const QString& action)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->foreignForm = variant;
    m_state->foreignAction = action;
}

void FeedbackSite::setResult(Result variant)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->result = variant;
}

QString FeedbackSite::listingUrl(int number, const QString& aid) const
{
    return QStringLiteral("http://page%1.localhost:%2/jp/auction/%3")
        .arg(number)
        .arg(m_site.port())
        .arg(aid);
}

QList<FeedbackSite::Hit> FeedbackSite::hits() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->hits;
}

QList<FeedbackSite::Hit> FeedbackSite::hits(const QByteArray& path) const
{
    QList<Hit> found;
    for (const Hit& hit : hits())
        if (hit.path == path)
            found << hit;
    return found;
}
