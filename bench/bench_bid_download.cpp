// Times the full closed-listing download through the main window: a fake site on 127.0.0.1
// serves 40 closed-listing pages of 50 listings, the database already holds 20,000 listings of
// the account (the 2,000 on the pages among them). Prints the wall time of the whole download
// (command to end line) and of its store (last progress step to end line). Pages and stored
// listings grow with the scale factor (argument or TESSALY_BENCH_SCALE: 1, 2, 4).
#include "BenchScale.h"

#include "app/UnitNavi.h"
#include "platform/Database.h"
#include "platform/Sql.h"
#include "site/LoginControl.h"
#include "support/FakeSite.h"
#include "support/FixtureDb.h"
#include "support/ListingPages.h"
#include "support/TestDataFolder.h"
#include "support/TestDialogs.h"
#include "views/BidListView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProgressBar>
#include <QStringEncoder>

#include <cstdio>

namespace {

const QString seller = QStringLiteral("seller");
int storedListings = 20000;
int pages = 40;
constexpr int perPage = 50;

FakeSite::Response page(const QString& text)
{
    FakeSite::Response response;
    QStringEncoder encoder("CP932");
    response.body = encoder.encode(text);
    response.contentType = "text/html; charset=Shift_JIS";
    return response;
}

QString aidOf(int i)
{
    return QStringLiteral("s%1").arg(i);
}

} // namespace

int main(int argc, char** argv)
{
    const int scale = BenchScale::factor(argc, argv);
    storedListings *= scale;
    pages *= scale;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(tessaly);
    TestDataFolder folder;
    TestDialogs dialogs;
    FakeSite site;
    if (!site.start())
        return 1;
    site.useAsSite();

    const int total = pages * perPage;
    QList<QByteArray> closedPages;
    for (int p = 0; p < pages; ++p) {
        QList<ListingPages::Listing> listings;
        for (int i = p * perPage + 1; i <= (p + 1) * perPage; ++i)
            listings.append({aidOf(i), QStringLiteral("商品%1").arg(i),
                             QStringLiteral("%1,000").arg(i), QStringLiteral("b%1").arg(i)});
        closedPages << page(ListingPages::closedListPage(total, listings)).body;
    }
    const QByteArray status = page(QStringLiteral("<html><body><b>こんにちは、  seller さん</b>"
                                                  "</body></html>"))
                                  .body;
    site.setHandler("GET", "/jp/show/mystatus", [&](const FakeSite::Request& request) {
        FakeSite::Response response = page(QString());
        const qsizetype at = request.query().indexOf("apg=");
        const int number = at < 0 ? 0 : request.query().mid(at + 4).toInt();
        response.body = number >= 1 && number <= pages ? closedPages[number - 1] : status;
        return response;
    });

    {
        const QString name = Database::uniqueConnectionName(QStringLiteral("bench"));
        {
            QSqlDatabase db = Database::open(name);
            Sql::Transaction transaction(db);
            for (int i = 1; i <= storedListings; ++i)
                FixtureDb::addListing(db,
                                      {aidOf(i), QStringLiteral("b%1").arg(i), seller,
                                       QStringLiteral("商品%1").arg(i), QStringLiteral("1000"), i});
            transaction.commit();
        }
        Database::close(name);
    }

    auto navi = std::make_unique<TFormNavi>();
    navi->FormShow();
    while (!navi->session.queries.ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    navi->loginControl().checkLoginStatus();
    std::printf("listing list before: %d rows\n", navi->ListViewBid->topLevelItemCount());

    QElapsedTimer clock;
    qint64 lastStep = -1;
    qint64 endLine = -1;
    QObject::connect(navi->ProgressBar, &QProgressBar::valueChanged, [&](int value) {
        if (lastStep < 0 && value == total)
            lastStep = clock.nsecsElapsed();
    });
    QObject::connect(navi->ListBoxMessage->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (navi->ListBoxMessage->count() > 0 &&
            navi->ListBoxMessage->item(navi->ListBoxMessage->count() - 1)->text() ==
                QStringLiteral("出品データダウンロード終了"))
            endLine = clock.nsecsElapsed();
    });

    clock.start();
    navi->ActionBidDownload->trigger();
    while (navi->downloadKind != 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 wall = clock.nsecsElapsed();

    std::printf("scale %d: pages %d x %d listings, %d listings stored before\n", scale, pages,
                perPage, storedListings);
    std::printf("full download with store: %.3f s wall\n", wall / 1e9);
    if (lastStep >= 0 && endLine >= 0)
        std::printf("store alone: %.3f s\n", (endLine - lastStep) / 1e9);
    else
        std::printf("store alone: not measured (download did not finish)\n");
    std::printf("listing list after: %d rows; last log line: %s\n",
                navi->ListViewBid->topLevelItemCount(),
                qPrintable(navi->ListBoxMessage->item(navi->ListBoxMessage->count() - 1)->text()));
    navi->close();
    navi.reset();
    return 0;
}
