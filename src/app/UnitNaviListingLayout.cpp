// The main window's listing-tab panels built after the main layout: the memo panel, the close
// button of the message panel and the message panel's fields.
#include "app/UnitNavi.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* closeButton(const char* name, const char* hint, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QStringLiteral("×"));
    button->setToolTip(QString::fromUtf8(hint));
    button->setAutoRaise(true);
    return button;
}

} // namespace

void TFormNavi::buildMemoPanel()
{
    auto* layout = new QHBoxLayout(PanelMemoWrite);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(3);
    LabelMemoWrite = new QLabel(QStringLiteral("メモ："), PanelMemoWrite);
    LabelMemoWrite->setObjectName("LabelMemoWrite");
    EditMemoWrite = new QLineEdit(PanelMemoWrite);
    EditMemoWrite->setObjectName("EditMemoWrite");
    ButtonMemoWrite = new QPushButton(QStringLiteral("書き込む"), PanelMemoWrite);
    ButtonMemoWrite->setObjectName("ButtonMemoWrite");
    ButtonMemoWrite->setToolTip(QStringLiteral("選択行にメモを書き込む"));
    ToolButtonPanelMemoWriteClose =
        closeButton("ToolButtonPanelMemoWriteClose", "メモ入力パネルを閉じる", PanelMemoWrite);
    layout->addWidget(LabelMemoWrite);
    layout->addWidget(EditMemoWrite, 1);
    layout->addWidget(ButtonMemoWrite);
    layout->addWidget(ToolButtonPanelMemoWriteClose);

    ToolButtonPanelBidNaviListClose =
        closeButton("ToolButtonPanelBidNaviListClose", "ナビパネルを閉じる", PanelBidNavi);
    PanelBidNavi->layout()->addWidget(ToolButtonPanelBidNaviListClose);
    PanelBidNavi->layout()->setAlignment(ToolButtonPanelBidNaviListClose, Qt::AlignTop);
}

void TFormNavi::buildBidNaviFields()
{
    auto* fields = new QHBoxLayout;
    fields->setSpacing(2);
    auto field = [this, fields](const char* name, int stretch) {
        auto* edit = new QLineEdit(PanelBidNaviList);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        fields->addWidget(edit, stretch);
        return edit;
    };
    EditBidAid = field("EditBidAid", 1);
    EditBidTitle = field("EditBidTitle", 3);
    EditBidBidderName = field("EditBidBidderName", 0);
    EditBidBidderName->hide();
    EditBidNaviBidId = field("EditBidNaviBidId", 0);
    EditBidNaviBidId->hide();
    static_cast<QVBoxLayout*>(PanelBidNaviList->layout())->insertLayout(0, fields);
}
