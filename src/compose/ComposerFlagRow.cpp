#include "compose/ComposerFlagRow.h"

#include <QCheckBox>
#include <QHBoxLayout>

#include <utility>

namespace ComposerFlagRow {

QHBoxLayout* build(QWidget* parent, const Boxes& boxes)
{
    auto* row = new QHBoxLayout;
    const std::pair<QCheckBox**, std::pair<const char*, const char*>> flags[] = {
        {boxes.first, {"CheckBoxFlgFirst", "住所連絡更新"}},
        {boxes.payment, {"CheckBoxFlgPayment", "入金更新"}},
        {boxes.receipt, {"CheckBoxFlgReceipt", "発送更新"}},
        {boxes.evaluation, {"CheckBoxFlgEvaluation", "評価更新"}},
        {boxes.end, {"CheckBoxFlgEnd", "終了更新"}},
        {boxes.pluralUpdate, {"CheckBoxFlgPluralUpdate", "リスト表示中の同一落札者行も更新"}},
    };
    for (const auto& [box, names] : flags) {
        *box = new QCheckBox(QString::fromUtf8(names.second), parent);
        (*box)->setObjectName(QString::fromLatin1(names.first));
        row->addWidget(*box);
    }
    row->addStretch(1);
    return row;
}

} // namespace ComposerFlagRow
