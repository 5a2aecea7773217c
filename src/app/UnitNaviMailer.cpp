// The main window's hand-over of a message template to the user's mail program.
#include "app/UnitNavi.h"

#include "compose/MailtoAddress.h"
#include "compose/TemplateKeywords.h"
#include "platform/Dialogs.h"
#include "platform/Sql.h"
#include "platform/UrlOpener.h"
#include "views/BidListColumns.h"
#include "views/BidListView.h"
#include "views/MailRecipient.h"
#include "views/MailtoUrl.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QUrl>

void TFormNavi::buildMailerSendMenus()
{
    QMenu* popup = findChild<QMenu*>(QStringLiteral("PopupMenuBidListMailerSend"));
    QSqlQuery templates =
        Sql::exec(connection, QStringLiteral("SELECT * FROM T_NaviTemplate ORDER BY SortNumber"));
    for (QMenu* menu : {MainMenuToolMailerSend, popup}) {
        const QList<QAction*> old = menu->actions();
        menu->clear();
        qDeleteAll(old);
        menu->setEnabled(true);
    }
    while (templates.next()) {
        const QString name = templates.value(QStringLiteral("SaveName")).toString();
        for (QMenu* menu : {MainMenuToolMailerSend, popup}) {
            auto* item = new QAction(name, this);
            item->setToolTip(name);
            item->setStatusTip(name);
            connect(item, &QAction::triggered, this, [this, item] { executeMailerSend(item); });
            menu->addAction(item);
        }
    }
}

void TFormNavi::executeMailerSend(QAction* item)
{
    const BidRow row = ListViewBid->firstSelectedItem();
    if (!row)
        return;
    const auto subItem = [&row](int index) { return row.subItem(index); };
    const QString aid = subItem(BidListColumns::Aid);
    const QString bidId = subItem(BidListColumns::BidId);

    QSqlQuery& templateQuery = session.queries.queryNaviTemplateByName;
    Sql::exec(templateQuery, {{QStringLiteral(":DATA_SAVENAME"), item->toolTip()}});
    const QString message = templateQuery.next()
                                ? templateQuery.value(QStringLiteral("Message")).toString()
                                : QString();
    templateQuery.finish();

    QString body;
    bool errorFlag = false;
    QString errorText;
    convertTemplateKeywords(body, message, aid, bidId, errorFlag, errorText);
    if (errorFlag) {
        addLogMessage(errorText);
        if (options.naviKeywordErrorMsg)
            Dialogs::showError(this, QStringLiteral("キーワード変換エラー"), errorText);
    }

    QSqlQuery& bidderQuery = session.queries.queryBidderInfo;
    Sql::exec(bidderQuery, {{QStringLiteral(":DATA_ID"), bidId}});
    const QString mail =
        bidderQuery.next() ? bidderQuery.value(QStringLiteral("MailMain")).toString() : QString();
    bidderQuery.finish();
    if (!MailRecipient::isSingle(mail)) {
        Dialogs::showWarning(this, MailRecipient::refusalCaption, MailRecipient::refusalText);
        return;
    }

    const QByteArray address =
        MailtoAddress::build(mail, subItem(BidListColumns::Title), body, options.mailEncloses);
    UrlOpener::open(QUrl::fromEncoded(address, QUrl::StrictMode));
}

void TFormNavi::ActionMailerStartExecute()
{
    if (!MailRecipient::isSingle(EditBidMail->text())) {
        Dialogs::showWarning(this, MailRecipient::refusalCaption, MailRecipient::refusalText);
        return;
    }
    const QUrl url = mailtoUrl(EditBidMail->text());
    // Without a program for "mailto:" nothing happens, as the shell would do.
    if (!url.isEmpty())
        UrlOpener::open(url);
}
