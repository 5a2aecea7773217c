#include "compose/EvaluationWriteScripts.h"

#include "compose/NaviWriteScripts.h"

namespace EvaluationWriteScripts {

QString fillFeedbackForm(int rating, const QString& comment)
{
    static const QString body = QStringLiteral(R"JS(
    var form = null;
    var all = document.getElementsByTagName('*');
    for (var i = 0; i < all.length; ++i) {
      var e = all[i];
      if (e.tagName === 'TEXTAREA') {
        e.value = data.comment;
        form = e.form;
      } else if (e.tagName === 'SELECT' && e.name === 'rating') {
        e.selectedIndex = data.rating;
      }
    }
    if (!form)
      return {ok: true, submitted: false};
    HTMLFormElement.prototype.submit.call(form);
    return {ok: true, submitted: true};)JS");
    return NaviWriteScripts::stepScript(
        body, {{QStringLiteral("rating"), rating}, {QStringLiteral("comment"), comment}});
}

QString pressSendButton()
{
    return NaviWriteScripts::pressSubmitButton(QStringLiteral("送"));
}

} // namespace EvaluationWriteScripts
