#pragma once

class QCheckBox;
class QHBoxLayout;
class QWidget;

// The composers' row of the progress flags to set after a post: the five flag boxes in column
// order (FirstFlg, PaymentFlg, ReceiptFlg, EvaluationFlg, EndFlg), then the box for the same
// winner's other listed rows.
namespace ComposerFlagRow {

struct Boxes
{
    QCheckBox** first;
    QCheckBox** payment;
    QCheckBox** receipt;
    QCheckBox** evaluation;
    QCheckBox** end;
    QCheckBox** pluralUpdate;
};

// Creates the six boxes on parent, fills the pointers and returns the row holding them.
QHBoxLayout* build(QWidget* parent, const Boxes& boxes);

} // namespace ComposerFlagRow
