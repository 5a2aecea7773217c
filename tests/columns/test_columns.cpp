// Column arrays, the integer text order and the column-table model under a view.
#include "common/ColumnRanks.h"
#include "common/TextColumn.h"
#include "common/TextSortKey.h"
#include "views/BidListSort.h"
#include "views/ColumnTableModel.h"

#include <QItemSelectionModel>
#include <QRandomGenerator>
#include <QTest>
#include <QTreeView>

#include <algorithm>
#include <numeric>

namespace {

// The order the lists sort by today: QString comparison, rows of equal texts in present order.
std::vector<int> plainStableOrder(const QStringList& texts, const std::vector<int>& present,
                                  bool descending)
{
    std::vector<int> order = present;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return descending ? BidListSort::compareText(texts[b], texts[a]) < 0
                          : BidListSort::compareText(texts[a], texts[b]) < 0;
    });
    return order;
}

TextColumn columnOf(const QStringList& texts)
{
    TextColumn column;
    for (const QString& text : texts)
        column.append(text);
    return column;
}

// A two-column table: a text and a number per record.
class TwoColumnModel : public ColumnTableModel
{
public:
    TwoColumnModel() : ColumnTableModel({"text", "number"}) {}

    void fill(const QStringList& texts)
    {
        beginRefill();
        m_texts = columnOf(texts);
        m_numbers.assign(size_t(texts.size()), 0);
        for (int i = 0; i < texts.size(); ++i)
            m_numbers[size_t(i)] = texts.size() - i;
        endRefill(int(texts.size()));
    }
    void add(const QString& text)
    {
        beginAppend(1);
        m_texts.append(text);
        m_numbers.push_back(-1);
        endAppend();
    }
    void setText(int record, const QString& text)
    {
        m_texts.set(record, text);
        recordChanged(record, 0);
    }
    void remove(const std::vector<int>& records) { removeRecordRows(records); }

protected:
    QVariant recordData(int record, int column, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return column == 0 ? QVariant(m_texts.string(record))
                           : QVariant(qlonglong(m_numbers[size_t(record)]));
    }
    ColumnRanks makeRanks(int column) const override
    {
        return column == 0 ? ColumnOrder::ofTexts(m_texts) : ColumnOrder::ofNumbers(m_numbers);
    }

private:
    TextColumn m_texts;
    std::vector<qint64> m_numbers;
};

QStringList textsOfView(const QAbstractItemModel& model)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, 0).data().toString();
    return texts;
}

} // namespace

class TestColumns : public QObject
{
    Q_OBJECT

private slots:
    void textColumnKeepsEveryCellThroughRewrites();
    void bitColumnKeepsEachFlag();
    void textOrderEqualsTheListComparison_data();
    void textOrderEqualsTheListComparison();
    void textOrderEqualsTheListComparisonOnManyRows();
    void numberOrderIsStableInBothDirections();
    void sortKeepsSelectionAndCurrentRow();
    void appendedRowsKeepSelectionAndSortAfterward();
    void refillShowsRecordsInTheirOrder();
    void cellWriteResortsByTheNewText();
    void removedRowsLeaveSelectionAndCurrentRowOfTheOthers();
};

void TestColumns::textColumnKeepsEveryCellThroughRewrites()
{
    TextColumn column;
    QStringList expected;
    for (int i = 0; i < 200; ++i) {
        expected << QString("cell %1 ").arg(i).repeated(i % 5);
        column.append(expected.last());
    }
    // Shorter texts are written in place, longer ones at the end; many rewrites compact.
    for (int round = 0; round < 400; ++round) {
        const int row = (round * 37) % 200;
        expected[row] = round % 3 == 0 ? QString() : QString("新しい%1").arg(round).repeated(50);
        column.set(row, expected[row]);
    }
    column.set(7, column.at(7).left(3));
    expected[7] = expected[7].left(3);
    column.set(9, column.at(9));
    QCOMPARE(column.size(), 200);
    for (int row = 0; row < 200; ++row)
        QCOMPARE(column.string(row), expected[row]);
}

void TestColumns::bitColumnKeepsEachFlag()
{
    BitColumn bits;
    for (int i = 0; i < 130; ++i)
        bits.append(i % 3 == 0);
    bits.set(64, true);
    bits.set(0, false);
    for (int i = 0; i < 130; ++i)
        QCOMPARE(bits.at(i), i == 64 || (i != 0 && i % 3 == 0));
}

void TestColumns::textOrderEqualsTheListComparison_data()
{
    QTest::addColumn<QStringList>("texts");
    // Ties, prefixes that differ after four or eight units, and texts ending in U+0000.
    QTest::newRow("ties and prefixes")
        << QStringList{"abcdefgh", "ABCDEFGH", "abcd",     "abcdefg", "abcdefgh1", "",
                       "ab",       "AB",       "abcdefgi", "abcd",    ""};
    QTest::newRow("ASCII case only")
        << QStringList{"Zeta", "alpha", "ALPHA", "_under", "[bracket", "zeta", "Alpha"};
    QTest::newRow("full-width forms are not folded")
        << QStringList{"ａｂｃ", "ＡＢＣ", "abc", "ABC", "ａbc", "Ａbc", "ｚ", "Ｚ"};
    QTest::newRow("beyond U+FFFF (surrogates sort by code unit)") << QStringList{
        QString::fromUtf8("𠮷野家"), QString::fromUtf8("吉野家"), QString::fromUtf8("\xef\xbd\x9e"),
        QString::fromUtf8("𠮷"),     QString::fromUtf8("😀a"),     QString::fromUtf8("😀A"),
        QString::fromUtf8("𠮷野家")};
    QTest::newRow("embedded and trailing U+0000") << QStringList{QString("ab"),
                                                                 QString("ab") + QChar(0),
                                                                 QString("ab") + QChar(0) + "c",
                                                                 QString("abcd") + QChar(0),
                                                                 QString("abcd"),
                                                                 QString(QChar(0)),
                                                                 ""};
    QStringList common;
    for (int i = 0; i < 40; ++i)
        common << QString("https://page.auctions.example/jp/auction/x%1").arg(i % 13);
    QTest::newRow("long shared beginnings") << common;
}

void TestColumns::textOrderEqualsTheListComparison()
{
    QFETCH(QStringList, texts);
    const TextColumn column = columnOf(texts);
    const ColumnRanks ranks = ColumnOrder::ofTexts(column);
    for (int a = 0; a < texts.size(); ++a)
        for (int b = 0; b < texts.size(); ++b) {
            const int expected = BidListSort::compareText(texts[a], texts[b]);
            const int got = ranks.rankOfRow[a] - ranks.rankOfRow[b];
            QVERIFY2((expected < 0) == (got < 0) && (expected == 0) == (got == 0),
                     qPrintable(texts[a] + " / " + texts[b]));
        }
    // From a present order that is not the record order, in both directions.
    std::vector<int> present(size_t(texts.size()));
    std::iota(present.rbegin(), present.rend(), 0);
    for (bool descending : {false, true})
        QCOMPARE(ColumnOrder::stableByRanks(present, ranks, descending),
                 plainStableOrder(texts, present, descending));
}

void TestColumns::textOrderEqualsTheListComparisonOnManyRows()
{
    // Short random texts over a small alphabet: many ties, many shared beginnings.
    const QString alphabet =
        QString::fromUtf8("aAbB_ａＡ漢字") + QChar(0) + QString::fromUtf8("𠮷");
    QRandomGenerator random(34);
    QStringList texts;
    for (int i = 0; i < 4000; ++i) {
        QString text;
        const int length = random.bounded(i % 4 == 0 ? 14 : 7);
        for (int c = 0; c < length; ++c)
            text += alphabet.at(random.bounded(int(alphabet.size())));
        texts << text;
    }
    const ColumnRanks ranks = ColumnOrder::ofTexts(columnOf(texts));
    std::vector<int> present(size_t(texts.size()));
    std::iota(present.begin(), present.end(), 0);
    std::shuffle(present.begin(), present.end(), std::mt19937(7));
    for (bool descending : {false, true})
        QCOMPARE(ColumnOrder::stableByRanks(present, ranks, descending),
                 plainStableOrder(texts, present, descending));
}

void TestColumns::numberOrderIsStableInBothDirections()
{
    const std::vector<qint64> values{5, -1, 3, 5, -1, 0, 3, 5, 9223372036854775807LL, -1};
    const ColumnRanks ranks = ColumnOrder::ofNumbers(values);
    std::vector<int> present{9, 2, 0, 4, 6, 1, 8, 3, 7, 5};
    for (bool descending : {false, true}) {
        std::vector<int> expected = present;
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            return descending ? values[b] < values[a] : values[a] < values[b];
        });
        QCOMPARE(ColumnOrder::stableByRanks(present, ranks, descending), expected);
    }
}

void TestColumns::sortKeepsSelectionAndCurrentRow()
{
    TwoColumnModel model;
    model.fill({"d", "b", "a", "c", "e"});
    QTreeView view;
    view.setModel(&model);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    QItemSelectionModel* selection = view.selectionModel();
    selection->select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(model.index(4, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->setCurrentIndex(model.index(4, 0), QItemSelectionModel::NoUpdate);

    model.sortRows(0, false);
    QCOMPARE(textsOfView(model), (QStringList{"a", "b", "c", "d", "e"}));
    QModelIndexList rows = selection->selectedRows();
    std::sort(rows.begin(), rows.end());
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].data().toString(), QString("b"));
    QCOMPARE(rows[1].data().toString(), QString("e"));
    QCOMPARE(selection->currentIndex().data().toString(), QString("e"));

    model.sortRows(1, true); // numbers 5 4 3 2 1 by record: back to the record order
    QCOMPARE(textsOfView(model), (QStringList{"d", "b", "a", "c", "e"}));
    QVERIFY(selection->isRowSelected(1, {}));
    QVERIFY(selection->isRowSelected(4, {}));
    QCOMPARE(selection->selectedRows().size(), 2);
    QCOMPARE(selection->currentIndex().row(), 4);
}

void TestColumns::appendedRowsKeepSelectionAndSortAfterward()
{
    TwoColumnModel model;
    model.fill({"b", "a"});
    QTreeView view;
    view.setModel(&model);
    view.selectionModel()->select(model.index(0, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    model.sortRows(0, false); // the ranks are made now; the append must drop them
    model.add("0");
    model.add("c");
    QCOMPARE(textsOfView(model), (QStringList{"a", "b", "0", "c"}));
    QVERIFY(view.selectionModel()->isRowSelected(1, {}));
    model.sortRows(0, false);
    QCOMPARE(textsOfView(model), (QStringList{"0", "a", "b", "c"}));
    QCOMPARE(view.selectionModel()->selectedRows().size(), 1);
    QVERIFY(view.selectionModel()->isRowSelected(2, {}));
}

void TestColumns::refillShowsRecordsInTheirOrder()
{
    TwoColumnModel model;
    model.fill({"b", "a"});
    QTreeView view;
    view.setModel(&model);
    model.sortRows(0, false);
    view.selectionModel()->select(model.index(0, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // A refill replaces every record: nothing of the old rows stays selected.
    model.fill({"z", "y", "x"});
    QCOMPARE(textsOfView(model), (QStringList{"z", "y", "x"}));
    QVERIFY(!view.selectionModel()->hasSelection());
    model.sortRows(0, false);
    QCOMPARE(textsOfView(model), (QStringList{"x", "y", "z"}));
}

void TestColumns::cellWriteResortsByTheNewText()
{
    TwoColumnModel model;
    model.fill({"b", "a", "c"});
    model.sortRows(0, false);
    QCOMPARE(textsOfView(model), (QStringList{"a", "b", "c"}));
    model.setText(2, "0"); // record 2 ("c") becomes the smallest
    model.sortRows(0, false);
    QCOMPARE(textsOfView(model), (QStringList{"0", "a", "b"}));
}

void TestColumns::removedRowsLeaveSelectionAndCurrentRowOfTheOthers()
{
    TwoColumnModel model;
    model.fill({"a", "b", "c", "d", "e"});
    QTreeView view;
    view.setModel(&model);
    QItemSelectionModel* selection = view.selectionModel();
    for (int row : {1, 3, 4})
        selection->select(model.index(row, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->setCurrentIndex(model.index(3, 0), QItemSelectionModel::NoUpdate);
    model.remove({0, 4, 2});
    QCOMPARE(textsOfView(model), (QStringList{"b", "d"}));
    QCOMPARE(model.rowOf(4), -1);
    QCOMPARE(model.rowOf(3), 1);
    QVERIFY(selection->isRowSelected(0, {}));
    QVERIFY(selection->isRowSelected(1, {}));
    QCOMPARE(selection->selectedRows().size(), 2);
    QCOMPARE(selection->currentIndex().data().toString(), QString("d"));
    // Appended after a removal: a new record, shown last, sorted with the others.
    model.add("a");
    QCOMPARE(textsOfView(model), (QStringList{"b", "d", "a"}));
    model.sortRows(0, false);
    QCOMPARE(textsOfView(model), (QStringList{"a", "b", "d"}));
    QCOMPARE(selection->currentIndex().data().toString(), QString("d"));
}

QTEST_MAIN(TestColumns)
#include "test_columns.moc"
