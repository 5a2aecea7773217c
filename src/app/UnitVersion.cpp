#include "app/UnitVersion.h"

#include "platform/ChildTeardown.h"
#include "app/AppIcon.h"
#include "app/CheckVersion.h"
#include "common/CommonDefine.h"
#include "platform/IniFile.h"
#include "platform/UrlOpener.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

TFormVersion::TFormVersion(QWidget* owner) : QDialog(owner)
{
    setObjectName("FormVersion");
    setWindowTitle(QStringLiteral("バージョン情報"));
    buildLayout();
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
}

TFormVersion::~TFormVersion()
{
    detachChildren(this);
}

void TFormVersion::buildLayout()
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(2);

    ImageIcon = new QLabel(this);
    ImageIcon->setObjectName("ImageIcon");
    ImageIcon->setPixmap(tessalyIcon().pixmap(32, 32));
    LabelProductName = new QLabel(CommonDefine::applicationTitle, this);
    LabelProductName->setObjectName("LabelProductName");
    LabelVersion = new QLabel(QStringLiteral("Version") + CheckVersion::productVersion(), this);
    LabelVersion->setObjectName("LabelVersion");
    LabelMaker = new QLabel(makerText, this);
    LabelMaker->setObjectName("LabelMaker");
    LabelUrl = new QLabel(webAddress, this);
    LabelUrl->setObjectName("LabelUrl");
    LabelUrl->setCursor(Qt::PointingHandCursor);
    LabelUrl->setStyleSheet(QStringLiteral("color: #0000ff; text-decoration: underline;"));
    LabelUrl->installEventFilter(this);
    LabelDb = new QLabel(QStringLiteral("データベース"), this);
    LabelDb->setObjectName("LabelDb");
    LabelDbVer = new QLabel(this);
    LabelDbVer->setObjectName("LabelDbVer");
    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName("ButtonOK");
    ButtonOK->setDefault(true);

    layout->addWidget(ImageIcon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(LabelProductName, 0, 1);
    layout->addWidget(LabelVersion, 0, 2);
    layout->addWidget(LabelMaker, 1, 1, 1, 2);
    layout->addWidget(LabelUrl, 2, 1, 1, 2);
    layout->addWidget(LabelDb, 3, 1);
    layout->addWidget(LabelDbVer, 3, 2);
    layout->addWidget(ButtonOK, 4, 1, 1, 2, Qt::AlignHCenter);
    setFixedSize(layout->sizeHint().expandedTo(QSize(227, 110)));
}

void TFormVersion::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TFormVersion::FormShow()
{
    const IniFile ini(CommonDefine::settingIniPath());
    LabelDbVer->setText(QStringLiteral("Version") +
                        ini.readString(CommonDefine::Section::Version, "MdbVersion", "1.00"));
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
}

void TFormVersion::LabelUrlClick()
{
    UrlOpener::open(QUrl(LabelUrl->text()));
}

bool TFormVersion::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LabelUrl && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        LabelUrlClick();
    return QDialog::eventFilter(watched, event);
}
