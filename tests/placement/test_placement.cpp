// Stored window bounds brought onto the screen before a window takes them: the fitting rule on
// tables of bounds, and real windows restored from a setting.ini with bounds past the screen.
#include "MainWindowFixture.h"
#include "app/UnitNavi.h"
#include "platform/IniFile.h"
#include "platform/WindowBounds.h"
#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <limits>

Q_DECLARE_METATYPE(WindowBounds::Stored)

namespace {

constexpr qint64 intMax = std::numeric_limits<int>::max();
constexpr qint64 intMin = std::numeric_limits<int>::min();

QRect availableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

void writeBounds(const TestDataFolder& folder, const QString& section, const QString& left,
                 const QString& top, const QString& width, const QString& height)
{
    IniFile ini(folder.filePath("setting.ini"));
    IniFile::Batch batch(ini);
    ini.writeString(section, "Left", left);
    ini.writeString(section, "Top", top);
    ini.writeString(section, "Width", width);
    ini.writeString(section, "Height", height);
    batch.save();
}

QString rectText(const QRect& r)
{
    return QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void fitsIntoTheArea_data()
    {
        QTest::addColumn<WindowBounds::Stored>("stored");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("expected");
        const QRect screen(0, 0, 1920, 1080);
        QTest::newRow("normal stays") << WindowBounds::Stored{100, 100, 900, 600} << screen
                                      << QRect(100, 100, 900, 600);
        QTest::newRow("filling the area stays")
            << WindowBounds::Stored{0, 0, 1920, 1080} << screen << QRect(0, 0, 1920, 1080);
        QTest::newRow("huge size") << WindowBounds::Stored{100, 100, 100000, 100000} << screen
                                   << QRect(0, 0, 1920, 1080);
        QTest::newRow("largest int size")
            << WindowBounds::Stored{100, 100, intMax, intMax} << screen << QRect(0, 0, 1920, 1080);
        QTest::newRow("largest int everywhere")
            << WindowBounds::Stored{intMax, intMax, intMax, intMax} << screen
            << QRect(0, 0, 1920, 1080);
        QTest::newRow("smallest int position")
            << WindowBounds::Stored{intMin, intMin, 900, 600} << screen << QRect(0, 0, 900, 600);
        QTest::newRow("negative position") << WindowBounds::Stored{-300, -50, 900, 600} << screen
                                           << QRect(0, 0, 900, 600);
        QTest::newRow("partly past the right edge")
            << WindowBounds::Stored{1500, 700, 900, 600} << screen << QRect(1020, 480, 900, 600);
        QTest::newRow("off-screen") << WindowBounds::Stored{5000, 4000, 900, 600} << screen
                                    << QRect(1020, 480, 900, 600);
        QTest::newRow("negative size") << WindowBounds::Stored{100, 100, -900, intMin} << screen
                                       << QRect(100, 100, 1, 1);
        QTest::newRow("area not at the origin")
            << WindowBounds::Stored{0, 0, 900, 600} << QRect(1920, 30, 1280, 994)
            << QRect(1920, 30, 900, 600);
        QTest::newRow("no area keeps the numbers in range")
            << WindowBounds::Stored{100, 100, 900, 600} << QRect() << QRect(100, 100, 900, 600);
    }

    void fitsIntoTheArea()
    {
        QFETCH(WindowBounds::Stored, stored);
        QFETCH(QRect, area);
        QFETCH(QRect, expected);
        const QRect result = WindowBounds::fitted(stored, area);
        QCOMPARE(result, expected);
        if (!area.isEmpty())
            QVERIFY(area.contains(result));
    }

    void choosesTheScreenThatHoldsMost_data()
    {
        QTest::addColumn<WindowBounds::Stored>("stored");
        QTest::addColumn<int>("expected");
        // Two screens side by side, the second one the primary.
        QTest::newRow("inside the first") << WindowBounds::Stored{100, 100, 900, 600} << 0;
        QTest::newRow("mostly on the first") << WindowBounds::Stored{1400, 100, 900, 600} << 0;
        QTest::newRow("mostly on the second") << WindowBounds::Stored{1800, 100, 900, 600} << 1;
        QTest::newRow("on none: the primary") << WindowBounds::Stored{-5000, 100, 900, 600} << 1;
        QTest::newRow("huge: the larger share")
            << WindowBounds::Stored{0, 0, intMax, intMax} << 0;
    }

    void choosesTheScreenThatHoldsMost()
    {
        QFETCH(WindowBounds::Stored, stored);
        QFETCH(int, expected);
        const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
        QCOMPARE(WindowBounds::screenFor(stored, screens, 1), expected);
    }

    void restoredWindowLiesInsideTheScreen_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::newRow("huge") << "100" << "100" << "100000" << "100000";
        QTest::newRow("largest int") << "2147483647" << "2147483647" << "2147483647"
                                     << "2147483647";
        QTest::newRow("off-screen") << "-100000" << "900000" << "900" << "600";
    }

    // A window of its own and the main window, each restored from such a file.
    void restoredWindowLiesInsideTheScreen()
    {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(QString, width);
        QFETCH(QString, height);
        MainWindowFixture app;
        const TestDataFolder& folder = app.folder();
        writeBounds(folder, "SideWindow", left, top, width, height);
        writeBounds(folder, "Main", left, top, width, height);

        QWidget side;
        WindowPlacement placement(&side, "SideWindow", WindowPlacement::MinimisedAs::Normal);
        placement.restore(IniFile(folder.filePath("setting.ini")));
        side.show();
        QVERIFY(QTest::qWaitForWindowExposed(&side));
        QVERIFY2(availableArea().contains(side.frameGeometry()),
                 qPrintable(QString("%1 in %2").arg(rectText(side.frameGeometry()), rectText(availableArea()))));

        TFormNavi* navi = app.show();
        QVERIFY(QTest::qWaitForWindowExposed(navi));
        QVERIFY(availableArea().contains(navi->frameGeometry()));
        QTRY_VERIFY(navi->session.queries.ready);
        app.closeWindow();
        // What is written back is the fitted bounds.
        const IniFile ini(folder.filePath("setting.ini"));
        const QRect stored(ini.readInteger("Main", "Left", -1), ini.readInteger("Main", "Top", -1),
                           ini.readInteger("Main", "Width", -1),
                           ini.readInteger("Main", "Height", -1));
        QVERIFY(availableArea().contains(stored));
    }
};

QTEST_MAIN(TestPlacement)
#include "test_placement.moc"
