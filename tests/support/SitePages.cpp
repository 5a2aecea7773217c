#include "SitePages.h"

#include <QStringEncoder>

namespace SitePages {

FakeSite::Response page(const QString& text)
{
    FakeSite::Response response;
    QStringEncoder encoder("CP932");
    response.body = encoder.encode(text);
    response.contentType = "text/html; charset=Shift_JIS";
    return response;
}

QString statusPage(const QString& loginId)
{
    if (loginId.isEmpty())
        return QStringLiteral("<html><body>ログインしてください。</body></html>\n");
    return QStringLiteral("<html><head><title>マイ・オークション</title></head><body>\n"
                          "<table><tr><td><b>こんにちは、  %1 さん</b></td></tr></table>\n"
                          "</body></html>\n")
        .arg(loginId);
}

QString reconfirmationPage(const QString& loginId)
{
    return QStringLiteral("<html><body>\n<h1>パスワードの再確認</h1>\n"
                          "<p>複数のIDでご利用の方へ</p>\n"
                          "<p>現在、<strong>%1</strong> でログインしています。</p>\n"
                          "<p>%1さんではない場合は、ログアウトしてください。</p>\n</body></html>\n")
        .arg(loginId);
}

QString loginAcceptedPage()
{
    return QStringLiteral("<html><body>ようこそ</body></html>");
}

QString loginRefusedPage()
{
    return QStringLiteral("<html><body>ID とパスワードを入力してログインしてください。</body></html>");
}

void serveAccount(FakeSite& site, const QString& loginId, bool loginAccepted)
{
    site.setRoute("GET", "/jp/show/mystatus", page(statusPage(loginId)));
    site.setRoute("POST", "/config/login",
                  page(loginAccepted ? loginAcceptedPage() : loginRefusedPage()));
}

QList<FakeSite::Request> loginPosts(const FakeSite& site)
{
    QList<FakeSite::Request> posts;
    for (const FakeSite::Request& request : site.requests())
        if (request.method == "POST" && request.path() == "/config/login" && request.secure)
            posts << request;
    return posts;
}

} // namespace SitePages
