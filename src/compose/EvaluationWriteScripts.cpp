#include "compose/EvaluationWriteScripts.h"

#include "compose/NaviWriteScripts.h"

namespace EvaluationWriteScripts {

QString fillFeedbackForm(const QUrl& site, int rating, const QString& comment)
{
    static const QString fill = QStringLiteral(R"JS(
      if (e.tagName === 'TEXTAREA') {
        e.value = data.comment;
      } else if (e.tagName === 'SELECT' && e.name === 'rating') {
        e.selectedIndex = data.rating;
      })JS");
    return NaviWriteScripts::fillFormScript(
        site, fill, {{QStringLiteral("rating"), rating}, {QStringLiteral("comment"), comment}});
}

QString pressSendButton(const QUrl& site)
{
    return NaviWriteScripts::pressSubmitButton(site, QStringLiteral("送"));
}

} // namespace EvaluationWriteScripts
