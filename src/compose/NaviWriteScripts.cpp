#include "compose/NaviWriteScripts.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The scripts run in their own world, so the page's scripts cannot replace what they call; the
// form's action is read through the prototype's getter, which a field named "action" cannot
// hide.
QString wrapped(const QUrl& site, const QString& body, QJsonObject data)
{
    data.insert(QStringLiteral("site"), site.toString(QUrl::FullyEncoded));
    const QString json = QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact));
    return QStringLiteral(
               "(function (data) {\n"
               "  try {\n"
               "    var siteOrigin = new URL(data.site).origin;\n"
               "    if (siteOrigin === 'null' || location.origin !== siteOrigin)\n"
               "      return {ok: true, offSite: true};\n"
               "    var actionOf = Object.getOwnPropertyDescriptor(HTMLFormElement.prototype,\n"
               "                                                   'action').get;\n"
               "    var onSite = function (form) {\n"
               "      try {\n"
               "        return new URL(actionOf.call(form), document.baseURI).origin ===\n"
               "               siteOrigin;\n"
               "      } catch (e) {\n"
               "        return false;\n"
               "      }\n"
               "    };\n%1\n"
               "  } catch (e) {\n"
               "    return {ok: false, error: String(e && e.message ? e.message : e)};\n"
               "  }\n"
               "})(%2);")
        .arg(body, json);
}

} // namespace

namespace NaviWriteScripts {

QString fillMessageForm(const QUrl& site, int subject, const QString& text)
{
    static const QString fill = QStringLiteral(R"JS(
      if (e.tagName === 'TEXTAREA') {
        e.value = data.text;
      } else if (e.tagName === 'INPUT' && String(e.type).toLowerCase() === 'radio' &&
                 e.name === 'subject' && ['1', '2', '3', '4'].indexOf(e.value) >= 0) {
        e.checked = e.value === data.subject;
      })JS");
    return fillFormScript(
        site, fill,
        {{QStringLiteral("subject"), QString::number(subject)}, {QStringLiteral("text"), text}});
}

QString fillFormScript(const QUrl& site, const QString& fill, const QVariantMap& data)
{
    static const QString body = QStringLiteral(R"JS(
    var areas = document.getElementsByTagName('textarea');
    var form = areas.length ? areas[areas.length - 1].form : null;
    if (!form)
      return {ok: true, submitted: false};
    if (!onSite(form))
      return {ok: true, offSite: true};
    var all = document.getElementsByTagName('*');
    for (var i = 0; i < all.length; ++i) {
      var e = all[i];
      if (e.form !== form)
        continue;%1
    }
    HTMLFormElement.prototype.submit.call(form);
    return {ok: true, submitted: true};)JS");
    return stepScript(site, body.arg(fill), data);
}

QString pressConfirmButton(const QUrl& site)
{
    return pressSubmitButton(site, QStringLiteral("投"));
}

QString pressSubmitButton(const QUrl& site, const QString& mark)
{
    static const QString body = QStringLiteral(R"JS(
    var inputs = document.getElementsByTagName('input');
    for (var i = 0; i < inputs.length; ++i) {
      var e = inputs[i];
      var type = String(e.type).toLowerCase();
      if ((type === 'submit' || type === 'image' || type === 'button') &&
          String(e.value).indexOf(data.mark) >= 0) {
        if (!e.form)
          return {ok: true, submitted: false};
        if (!onSite(e.form))
          return {ok: true, offSite: true};
        HTMLFormElement.prototype.submit.call(e.form);
        return {ok: true, submitted: true};
      }
    }
    return {ok: true, submitted: false};)JS");
    QJsonObject data;
    data.insert(QStringLiteral("mark"), mark);
    return wrapped(site, body, data);
}

QString stepScript(const QUrl& site, const QString& body, const QVariantMap& data)
{
    return wrapped(site, body, QJsonObject::fromVariantMap(data));
}

QString bodyHtml(const QUrl& site)
{
    static const QString body = QStringLiteral(R"JS(
    return {ok: true, html: document.body ? document.body.outerHTML : ''};)JS");
    return wrapped(site, body, QJsonObject());
}

QString isPostCompleted(const QUrl& site)
{
    static const QString body = QStringLiteral(R"JS(
    var html = document.body ? document.body.outerHTML : '';
    return {ok: true, completed: html.indexOf(data.mark) >= 0};)JS");
    QJsonObject data;
    data.insert(QStringLiteral("mark"), postCompletedMarker);
    return wrapped(site, body, data);
}

} // namespace NaviWriteScripts
