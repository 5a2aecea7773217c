#pragma once

#include "compose/TemplateEditorBase.h"

class QComboBox;
class QLabel;

// The feedback template editor ("評価テンプレート作成"): the shared editor with the rating in
// place of the subject choice, and no keywords.
class TFormEvaluationTemplate : public TemplateEditorBase
{
    Q_OBJECT
public:
    TFormEvaluationTemplate(QWidget* owner, const QSqlDatabase& connection, int messageFontSize);

    QLabel* LabelEvaluation = nullptr;
    QComboBox* ComboBoxEvaluation = nullptr;
    QLabel* LabelNotice = nullptr;

protected:
    bool hasChoice() const override;
    int choice() const override;
    void showChoice(int value) override;
    void clearChoice() override;
    QString missingChoiceText() const override;
    bool newClearsStatus() const override { return false; }
    bool eventFilter(QObject* watched, QEvent* event) override;
};
