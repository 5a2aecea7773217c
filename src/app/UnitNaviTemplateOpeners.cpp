// The main window's openers of the two template editors.
#include "app/UnitNavi.h"

#include "app/NaviWiring.h"
#include "compose/UnitEvaluationTemplate.h"
#include "compose/UnitNaviTemplate.h"

#include <QAction>
#include <QPlainTextEdit>

#include <memory>

void NaviWiring::connectTemplateCommands(TFormNavi& navi)
{
    const std::pair<const char*, void (TFormNavi::*)()> commands[] = {
        {"ActionShowNaviTemplate", &TFormNavi::ActionShowNaviTemplateExecute},
        {"ActionShowEvaluationTemplate", &TFormNavi::ActionShowEvaluationTemplateExecute},
    };
    for (const auto& [name, execute] : commands) {
        QAction* command = navi.action(QString::fromLatin1(name));
        QObject::connect(command, &QAction::triggered, &navi, execute);
        navi.markWired(command);
        command->setEnabled(true);
    }
}

void TFormNavi::ActionShowNaviTemplateExecute()
{
    auto form = std::make_unique<TFormNaviTemplate>(this, connection, MemoNavi->font().pointSize());
    formNaviTemplate = form.get();
    form->showModal();
}

void TFormNavi::ActionShowEvaluationTemplateExecute()
{
    auto form =
        std::make_unique<TFormEvaluationTemplate>(this, connection, MemoNavi->font().pointSize());
    formEvaluationTemplate = form.get();
    form->showModal();
}
