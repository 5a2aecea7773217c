#include "compose/UnitEvaluationTemplate.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWheelEvent>

TFormEvaluationTemplate::TFormEvaluationTemplate(QWidget* owner, const QSqlDatabase& connection,
                                                 int messageFontSize)
    : TemplateEditorBase(owner, connection, TemplateKind::Evaluation,
                         QStringLiteral("EvaluationTemplateWindow"), messageFontSize)
{
    setObjectName("FormEvaluationTemplate");
    setWindowTitle(QStringLiteral("評価テンプレート作成"));

    auto* row = new QHBoxLayout(PanelChoice);
    row->setContentsMargins(0, 0, 0, 0);
    LabelEvaluation = new QLabel(QStringLiteral("評価："), PanelChoice);
    LabelEvaluation->setObjectName("LabelEvaluation");
    ComboBoxEvaluation = new QComboBox(PanelChoice);
    ComboBoxEvaluation->setObjectName("ComboBoxEvaluation");
    ComboBoxEvaluation->addItems({QStringLiteral("非常に良い"), QStringLiteral("良い"),
                                  QStringLiteral("どちらでもない"), QStringLiteral("悪い"),
                                  QStringLiteral("非常に悪い")});
    ComboBoxEvaluation->setCurrentIndex(-1);
    LabelEvaluation->setBuddy(ComboBoxEvaluation);
    LabelNotice = new QLabel(
        QStringLiteral("※氏名、住所、メールアドレスなどの個人情報は入力しないでください。"),
        PanelChoice);
    LabelNotice->setObjectName("LabelNotice");
    QPalette palette = LabelNotice->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    LabelNotice->setPalette(palette);
    row->addWidget(LabelEvaluation);
    row->addWidget(ComboBoxEvaluation);
    row->addWidget(LabelNotice, 1);

    // Installed after the wheel routing, so this filter sees the comment's wheel first.
    MemoMessage->viewport()->installEventFilter(this);
    MemoMessage->verticalScrollBar()->installEventFilter(this);
}

bool TFormEvaluationTemplate::eventFilter(QObject* watched, QEvent* event)
{
    // With the rating box focused, the wheel over the comment moves the rating instead.
    if (event->type() == QEvent::Wheel && ComboBoxEvaluation->hasFocus() &&
        (watched == MemoMessage->viewport() || watched == MemoMessage->verticalScrollBar())) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPointF at(1, 1);
        QWheelEvent forwarded(at, ComboBoxEvaluation->mapToGlobal(at), wheel->pixelDelta(),
                              wheel->angleDelta(), wheel->buttons(), wheel->modifiers(),
                              wheel->phase(), wheel->inverted());
        QApplication::sendEvent(ComboBoxEvaluation, &forwarded);
        return true;
    }
    return TemplateEditorBase::eventFilter(watched, event);
}

bool TFormEvaluationTemplate::hasChoice() const
{
    return ComboBoxEvaluation->currentIndex() >= 0;
}

int TFormEvaluationTemplate::choice() const
{
    return ComboBoxEvaluation->currentIndex();
}

void TFormEvaluationTemplate::showChoice(int value)
{
    ComboBoxEvaluation->setCurrentIndex(value >= 0 && value < ComboBoxEvaluation->count() ? value
                                                                                          : -1);
}

void TFormEvaluationTemplate::clearChoice()
{
    ComboBoxEvaluation->setCurrentIndex(-1);
}

QString TFormEvaluationTemplate::missingChoiceText() const
{
    return QStringLiteral("評価が選択されていません");
}
