#include "views/UnitPrintNaviMessageSetting.h"

#include "platform/ChildTeardown.h"
#include "common/CommonDefine.h"
#include "common/CommonRoutines.h"
#include "platform/CtrlClickSelect.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "views/CurrentPrinter.h"
#include "views/PrintSettings.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormPrintNaviMessageSetting::TFormPrintNaviMessageSetting(QWidget* centreOn)
    : QDialog(nullptr), m_centreOn(centreOn)
{
    setObjectName("FormPrintNaviMessageSetting");
    setWindowTitle("印刷設定");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildLayout();
    connectSignals();
    setFixedSize(281, 169);
}

TFormPrintNaviMessageSetting::~TFormPrintNaviMessageSetting()
{
    detachChildren(this);
}

void TFormPrintNaviMessageSetting::buildLayout()
{
    auto* layout = new QVBoxLayout(this);

    GroupBoxMargin = new QGroupBox("余白（ミリ）", this);
    GroupBoxMargin->setObjectName("GroupBoxMargin");
    auto* grid = new QGridLayout(GroupBoxMargin);
    auto labelledEdit = [this, grid](const QString& name, const QString& caption, int row,
                                     int column) {
        auto* edit = new QLineEdit(GroupBoxMargin);
        edit->setObjectName(name);
        auto* label = new QLabel(caption, GroupBoxMargin);
        label->setBuddy(edit);
        grid->addWidget(label, row, column * 2, Qt::AlignRight);
        grid->addWidget(edit, row, column * 2 + 1);
        return edit;
    };
    LabeledEditMarginTop = labelledEdit("LabeledEditMarginTop", "上(&T)　", 0, 0);
    LabeledEditMarginBottom = labelledEdit("LabeledEditMarginBottom", "下(&B)　", 0, 1);
    LabeledEditMarginLeft = labelledEdit("LabeledEditMarginLeft", "左(&L)　", 1, 0);
    LabeledEditMarginRight = labelledEdit("LabeledEditMarginRight", "右(&R)　", 1, 1);
    layout->addWidget(GroupBoxMargin);

    auto* fontRow = new QHBoxLayout;
    LabelFontSize = new QLabel("フォントサイズ（pt）", this);
    EditFontSize = new QLineEdit(this);
    EditFontSize->setObjectName("EditFontSize");
    fontRow->addWidget(LabelFontSize);
    fontRow->addWidget(EditFontSize);
    layout->addLayout(fontRow);
    LabelFontSizeNote = new QLabel("（0の場合はナビメッセージフォントサイズを適用）", this);
    layout->addWidget(LabelFontSizeNote);

    auto* buttons = new QHBoxLayout;
    ButtonOK = new QPushButton("OK", this);
    ButtonOK->setObjectName("ButtonOK");
    ButtonOK->setDefault(true);
    ButtonCancel = new QPushButton("キャンセル", this);
    ButtonCancel->setObjectName("ButtonCancel");
    ButtonPrintSetting = new QPushButton("プリンタ設定", this);
    ButtonPrintSetting->setObjectName("ButtonPrintSetting");
    ButtonPrintSetting->setAutoDefault(false);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    buttons->addWidget(ButtonPrintSetting);
    layout->addLayout(buttons);

    for (QLineEdit* edit : edits()) {
        edit->installEventFilter(this);
        CtrlClickSelect::install(edit);
    }
}

void TFormPrintNaviMessageSetting::connectSignals()
{
    connect(ButtonOK, &QPushButton::clicked, this, &TFormPrintNaviMessageSetting::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonPrintSetting, &QPushButton::clicked, this,
            &TFormPrintNaviMessageSetting::ButtonPrintSettingClick);
}

QList<QLineEdit*> TFormPrintNaviMessageSetting::edits() const
{
    return {LabeledEditMarginLeft, LabeledEditMarginRight, LabeledEditMarginTop,
            LabeledEditMarginBottom, EditFontSize};
}

void TFormPrintNaviMessageSetting::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormPrintNaviMessageSetting::FormShow()
{
    if (m_centreOn) {
        QRect frame = frameGeometry();
        frame.moveCenter(m_centreOn->frameGeometry().center());
        move(frame.topLeft());
    }
    const PrintSettings settings = PrintSettings::read(IniFile(CommonDefine::settingIniPath()));
    const QList<int> values = settings.values();
    const QList<QLineEdit*> all = edits();
    for (int i = 0; i < all.size(); ++i)
        all[i]->setText(QString::number(values[i]));
}

void TFormPrintNaviMessageSetting::ButtonOKClick()
{
    QStringList texts;
    for (QLineEdit* edit : edits())
        texts << edit->text();
    int invalid = -1;
    const std::optional<PrintSettings> settings = PrintSettings::parse(texts, &invalid);
    if (!settings) {
        Dialogs::showError(this, "エラー", "数値を入力してください");
        edits()[invalid]->setFocus();
        return;
    }
    IniFile ini(CommonDefine::settingIniPath());
    settings->write(ini);
    accept();
}

void TFormPrintNaviMessageSetting::ButtonPrintSettingClick()
{
    Dialogs::printerSetup(this, &currentPrinter());
}

bool TFormPrintNaviMessageSetting::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::KeyPress) {
        // Typed characters: the digits 0 to 9 and backspace only. Keys that type nothing
        // (arrows, Delete), and Tab, Enter and Esc for the dialog, pass.
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const int code = key->key();
        const bool dialogKey = code == Qt::Key_Tab || code == Qt::Key_Backtab ||
                               code == Qt::Key_Return || code == Qt::Key_Enter ||
                               code == Qt::Key_Escape;
        if (!text.isEmpty() && !dialogKey && code != Qt::Key_Backspace &&
            !(text.size() == 1 && isDigitChar(text.at(0))))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
