#include "compose/NaviWriteScripts.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString wrapped(const QString& body, const QJsonObject& data)
{
    const QString json = QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact));
    return QStringLiteral("(function (data) {\n"
                          "  try {\n%1\n  } catch (e) {\n"
                          "    return {ok: false, error: String(e && e.message ? e.message : e)};\n"
                          "  }\n"
                          "})(%2);")
        .arg(body, json);
}

} // namespace

namespace NaviWriteScripts {

QString fillMessageForm(int subject, const QString& text)
{
    static const QString body = QStringLiteral(R"JS(
    var form = null;
    var all = document.getElementsByTagName('*');
    for (var i = 0; i < all.length; ++i) {
      var e = all[i];
      if (e.tagName === 'TEXTAREA') {
        e.value = data.text;
        form = e.form;
      } else if (e.tagName === 'INPUT' && String(e.type).toLowerCase() === 'radio' &&
                 e.name === 'subject' && ['1', '2', '3', '4'].indexOf(e.value) >= 0) {
        e.checked = e.value === data.subject;
      }
    }
    if (!form)
      return {ok: true, submitted: false};
    HTMLFormElement.prototype.submit.call(form);
    return {ok: true, submitted: true};)JS");
    QJsonObject data;
    data.insert(QStringLiteral("subject"), QString::number(subject));
    data.insert(QStringLiteral("text"), text);
    return wrapped(body, data);
}

QString pressConfirmButton()
{
    return pressSubmitButton(QStringLiteral("投"));
}

QString pressSubmitButton(const QString& mark)
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
        HTMLFormElement.prototype.submit.call(e.form);
        return {ok: true, submitted: true};
      }
    }
    return {ok: true, submitted: false};)JS");
    QJsonObject data;
    data.insert(QStringLiteral("mark"), mark);
    return wrapped(body, data);
}

QString stepScript(const QString& body, const QVariantMap& data)
{
    return wrapped(body, QJsonObject::fromVariantMap(data));
}

QString bodyHtml()
{
    static const QString body = QStringLiteral(R"JS(
    return {ok: true, html: document.body ? document.body.outerHTML : ''};)JS");
    return wrapped(body, QJsonObject());
}

QString isPostCompleted()
{
    static const QString body = QStringLiteral(R"JS(
    var html = document.body ? document.body.outerHTML : '';
    return {ok: true, completed: html.indexOf(data.mark) >= 0};)JS");
    QJsonObject data;
    data.insert(QStringLiteral("mark"), postCompletedMarker);
    return wrapped(body, data);
}

} // namespace NaviWriteScripts
