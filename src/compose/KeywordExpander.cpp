#include "compose/KeywordExpander.h"

#include "common/CommonDefine.h"
#include "common/CommonRoutines.h"
#include "compose/CalcExpression.h"
#include "compose/KeywordError.h"

#include <QStringView>

#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// A placeholder of the shared list, by its text.
const QString& keyword(const char* text)
{
    for (const QString& word : CommonDefine::templateKeywords)
        if (word == QLatin1String(text))
            return word;
    throw std::logic_error("unknown template keyword");
}

enum class ItemValue { Aid, Title, Price, PriceEm, Quantity, QuantityEm, Subtotal, SubtotalEm };

struct ItemKeyword
{
    const QString& word;
    ItemValue value;
};

// The item placeholders in the order of their passes.
const std::vector<ItemKeyword>& itemKeywords()
{
    static const std::vector<ItemKeyword> words = {
        {keyword("%aid%"), ItemValue::Aid},
        {keyword("%title%"), ItemValue::Title},
        {keyword("%price%"), ItemValue::Price},
        {keyword("%price_em%"), ItemValue::PriceEm},
        {keyword("%quantity%"), ItemValue::Quantity},
        {keyword("%quantity_em%"), ItemValue::QuantityEm},
        {keyword("%plural_price%"), ItemValue::Subtotal},
        {keyword("%plural_price_em%"), ItemValue::SubtotalEm},
    };
    return words;
}

bool hasItemKeyword(QStringView line)
{
    for (const ItemKeyword& item : itemKeywords())
        if (line.contains(item.word))
            return true;
    return false;
}

QString itemValue(const AuctionInfo& info, ItemValue value)
{
    switch (value) {
    case ItemValue::Aid:
        return info.aid;
    case ItemValue::Title:
        return info.title;
    case ItemValue::Price:
        return addThousandsSeparators(info.price);
    case ItemValue::PriceEm:
        return toFullWidth(addThousandsSeparators(info.price));
    case ItemValue::Quantity:
        return addThousandsSeparators(info.quantity);
    case ItemValue::QuantityEm:
        return toFullWidth(addThousandsSeparators(info.quantity));
    case ItemValue::Subtotal:
        return addThousandsSeparators(info.subtotal);
    case ItemValue::SubtotalEm:
        return toFullWidth(addThousandsSeparators(info.subtotal));
    }
    return QString();
}

QString decimalText(__int128 value)
{
    const bool negative = value < 0;
    unsigned __int128 magnitude = negative ? -(unsigned __int128)(value) : value;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? u'-' + digits : digits;
}

std::int64_t checkedInt64(__int128 value)
{
    if (value > std::numeric_limits<std::int64_t>::max() ||
        value < std::numeric_limits<std::int64_t>::min())
        throw KeywordError::notAnInteger(decimalText(value));
    return std::int64_t(value);
}

// The lines that hold an item placeholder written once per listing, in a row. A line cut at an
// LF gets its LF back after each copy; copies of a last line without a break are joined by
// CR LF, or by LF in a text whose breaks are all LF.
QString repeatItemLines(const QString& text, qsizetype copies)
{
    const bool lfOnly = text.contains(u'\n') && !text.contains(u'\r');
    QString out;
    out.reserve(text.size() * 2);
    qsizetype start = 0;
    while (true) {
        const qsizetype lf = text.indexOf(u'\n', start);
        const QStringView line =
            lf < 0 ? QStringView(text).mid(start) : QStringView(text).mid(start, lf - start);
        const qsizetype times = hasItemKeyword(line) ? copies : 1;
        if (lf >= 0) {
            for (qsizetype i = 0; i < times; ++i) {
                out += line;
                out += u'\n';
            }
            start = lf + 1;
            continue;
        }
        const QString separator =
            lfOnly || line.endsWith(u'\r') ? QStringLiteral("\n") : QStringLiteral("\r\n");
        for (qsizetype i = 0; i < times; ++i) {
            if (i > 0)
                out += separator;
            out += line;
        }
        return out;
    }
}

// The working text of an expansion: the template's own text with the values put in so far.
// A value is text: placeholders, markers and line breaks are looked for only in the template's
// own characters, so a value is never expanded or evaluated again, whatever it holds. An empty
// value leaves no trace; the template's text around it reads on as one.
class WorkingText
{
public:
    explicit WorkingText(QString text) : m_text(std::move(text)) {}

    const QString& text() const { return m_text; }

    // The occurrences of a word that lie wholly in the template's text, left to right. A search
    // holds until the text is filled.
    class Search
    {
    public:
        Search(const WorkingText& text, QStringView word) : m_text(text), m_word(word) {}

        // The first occurrence at or after from; from never goes back between calls.
        qsizetype next(qsizetype from)
        {
            const QString& text = m_text.m_text;
            const std::vector<Range>& values = m_text.m_values;
            for (qsizetype at = text.indexOf(m_word, from); at >= 0;
                 at = text.indexOf(m_word, at + 1)) {
                while (m_value < values.size() && values[m_value].end <= at)
                    ++m_value;
                if (m_value == values.size() || values[m_value].begin >= at + m_word.size())
                    return at;
                // Every match that starts before this value's end overlaps it.
                at = values[m_value].end - 1;
            }
            return -1;
        }

    private:
        const WorkingText& m_text;
        QStringView m_word;
        std::size_t m_value = 0; // the first value that may end after the next match
    };

    bool contains(QStringView word) const { return Search(*this, word).next(0) >= 0; }

    struct Fill
    {
        qsizetype begin;
        qsizetype end;
        QString value;
    };

    // Replaces the spans, in order and disjoint, each beginning and ending in the template's
    // text, by their values. Values put in earlier that lie inside a span go with it.
    void fill(const std::vector<Fill>& fills)
    {
        if (fills.empty())
            return;
        qsizetype size = m_text.size();
        for (const Fill& span : fills)
            size += span.value.size() - (span.end - span.begin);
        QString out;
        out.reserve(size);
        std::vector<Range> values;
        values.reserve(m_values.size() + fills.size());
        std::size_t next = 0;
        qsizetype copied = 0;
        const auto copyUpTo = [&](qsizetype end) {
            const qsizetype shift = out.size() - copied;
            for (; next < m_values.size() && m_values[next].end <= end; ++next)
                values.push_back({m_values[next].begin + shift, m_values[next].end + shift});
            out += QStringView(m_text).mid(copied, end - copied);
            copied = end;
        };
        for (const Fill& span : fills) {
            copyUpTo(span.begin);
            while (next < m_values.size() && m_values[next].end <= span.end)
                ++next;
            if (!span.value.isEmpty())
                values.push_back({out.size(), out.size() + span.value.size()});
            out += span.value;
            copied = span.end;
        }
        copyUpTo(m_text.size());
        m_text = std::move(out);
        m_values = std::move(values);
    }

private:
    struct Range
    {
        qsizetype begin;
        qsizetype end;
    };

    QString m_text;
    std::vector<Range> m_values; // in text order, disjoint, none empty
};

// One item pass: the k-th line of the template's text (cut at its LFs) that holds the
// placeholder shows entry k modulo N in each of its occurrences.
void fillItemKeyword(WorkingText& text, const ItemKeyword& item, const QList<AuctionInfo>& auctions)
{
    WorkingText::Search words(text, item.word);
    qsizetype at = words.next(0);
    if (at < 0)
        return;
    std::vector<QString> values;
    values.reserve(auctions.size());
    for (const AuctionInfo& info : auctions)
        values.push_back(itemValue(info, item.value));

    std::vector<WorkingText::Fill> fills;
    qsizetype entry = 0;
    bool lineHolds = false;
    WorkingText::Search breaks(text, u"\n");
    qsizetype lf = breaks.next(0);
    while (at >= 0) {
        if (lf >= 0 && lf < at) {
            if (lineHolds)
                entry = (entry + 1) % qsizetype(values.size());
            lineHolds = false;
            lf = breaks.next(lf + 1);
            continue;
        }
        fills.push_back({at, at + item.word.size(), values[entry]});
        lineHolds = true;
        at = words.next(at + item.word.size());
    }
    text.fill(fills);
}

// A pass of a placeholder with one value per call. When the placeholder is in the text and the
// value fails, the text keeps it and the error text gets its line.
void fillKeyword(WorkingText& text, const QString& word, bool failed, const QString& value,
                 const char* suffix, KeywordResult& result)
{
    WorkingText::Search words(text, word);
    qsizetype at = words.next(0);
    if (at < 0)
        return;
    if (failed) {
        result.error = true;
        result.errorText += word + QString::fromUtf8(suffix);
        return;
    }
    std::vector<WorkingText::Fill> fills;
    for (; at >= 0; at = words.next(at + word.size()))
        fills.push_back({at, at + word.size(), value});
    text.fill(fills);
}

QString grouped(std::int64_t value)
{
    return addThousandsSeparators(QString::number(value));
}

// A %CALC% value grouped in its whole part only ("1,001.5", "1.5E20").
QString groupWholePart(const QString& number)
{
    qsizetype end = 0;
    while (end < number.size() && number.at(end) != u'.' && number.at(end) != u'E')
        ++end;
    return addThousandsSeparators(number.left(end)) + number.mid(end);
}

// Evaluates the spans that the template writes, left to right, each up to the first closing
// marker after its opening marker; the values inside a span are part of its expression.
void evaluateCalcSpans(WorkingText& text, KeywordResult& result)
{
    const QString& open = keyword("%CALC%");
    const QString& close = keyword("%/CALC%");
    WorkingText::Search opens(text, open);
    WorkingText::Search closes(text, close);
    std::vector<WorkingText::Fill> spans;
    qsizetype from = 0;
    while (true) {
        const qsizetype begin = opens.next(from);
        if (begin < 0)
            break;
        const qsizetype end = closes.next(begin + open.size());
        if (end < 0) {
            result.calcCloseMissing = true;
            break;
        }
        const QString expression = text.text().mid(begin + open.size(), end - begin - open.size());
        spans.push_back({begin, end + close.size(),
                         groupWholePart(evaluateCalcExpression(expression).toGeneralString(15))});
        from = end + close.size();
    }
    text.fill(spans);
}

} // namespace

std::int64_t toStrictInteger(const QString& text)
{
    qsizetype i = 0;
    bool negative = false;
    if (!text.isEmpty() && (text.at(0) == u'-' || text.at(0) == u'+')) {
        negative = text.at(0) == u'-';
        i = 1;
    }
    if (i == text.size())
        throw KeywordError::notAnInteger(text);
    __int128 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            throw KeywordError::notAnInteger(text);
        value = value * 10 + (c - u'0');
        if (value > (__int128(1) << 63))
            throw KeywordError::notAnInteger(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int64_t>::max())
        throw KeywordError::notAnInteger(text);
    return std::int64_t(value);
}

AuctionInfo makeAuctionInfo(const QString& aid, const QString& title, const QString& price,
                            const QString& quantity)
{
    const QString count = quantity.isEmpty() ? QStringLiteral("1") : quantity;
    const std::int64_t p = toStrictInteger(price);
    const std::int64_t q = toStrictInteger(count);
    const std::int64_t subtotal = checkedInt64(__int128(p) * q);
    return {aid, title, price, count, QString::number(subtotal)};
}

KeywordResult expandTemplateKeywords(const KeywordSource& source)
{
    KeywordResult result;
    const QList<AuctionInfo>& auctions = source.auctions;

    __int128 sumOfSubtotals = 0;
    for (const AuctionInfo& info : auctions)
        sumOfSubtotals += toStrictInteger(info.subtotal);
    const std::int64_t total = checkedInt64(sumOfSubtotals);

    WorkingText text(auctions.size() >= 2 ? repeatItemLines(source.templateText, auctions.size())
                                          : source.templateText);
    if (!auctions.isEmpty())
        for (const ItemKeyword& item : itemKeywords())
            fillItemKeyword(text, item, auctions);

    const QString& carriage = source.carriage;
    const bool noCarriage = carriage.isEmpty();
    // A carriage that is not a number (a preset text) goes in as it stands.
    const QString carriageValue =
        isAllDigits(carriage) ? addThousandsSeparators(carriage) : carriage;
    fillKeyword(text, keyword("%total%"), false, grouped(total), "", result);
    fillKeyword(text, keyword("%total_em%"), false, toFullWidth(grouped(total)), "", result);
    fillKeyword(text, keyword("%carriage%"), noCarriage, carriageValue,
                "(送料)が変換できませんでした。\n\r", result);
    fillKeyword(text, keyword("%carriage_em%"), noCarriage, toFullWidth(carriageValue),
                "(送料【全角】)が変換できませんでした。\n\r", result);

    const QString& sumWord = keyword("%sum%");
    const QString& sumEmWord = keyword("%sum_em%");
    const bool sumUsed = text.contains(sumWord);
    const bool sumEmUsed = text.contains(sumEmWord);
    const bool sumFails = noCarriage || !isAllDigits(carriage);
    if (sumFails) {
        fillKeyword(text, sumWord, true, QString(), "(商品合計+送料)が変換できませんでした。\n\r",
                    result);
        fillKeyword(text, sumEmWord, true, QString(),
                    "(商品合計+送料【全角】)が変換できませんでした。\n\r", result);
    } else if (sumUsed || sumEmUsed) {
        const QString sum = grouped(checkedInt64(__int128(total) + toStrictInteger(carriage)));
        fillKeyword(text, sumWord, false, sum, "", result);
        fillKeyword(text, sumEmWord, false, toFullWidth(sum), "", result);
    }

    fillKeyword(text, keyword("%send_num%"), source.forwarding.isEmpty(), source.forwarding,
                "(発送番号)が変換できませんでした。\n\r", result);
    fillKeyword(text, keyword("%id%"), false, source.winnerId, "", result);
    fillKeyword(text, keyword("%name%"), source.winnerName.isEmpty(), source.winnerName,
                "(落札者氏名)が変換できませんでした。\n\r", result);
    fillKeyword(text, keyword("%myid%"), false, source.loginId, "", result);
    const SellerData& seller = source.seller;
    fillKeyword(text, keyword("%myname%"), seller.name.isEmpty(), seller.name,
                "(名前)が変換できませんでした。\n\r", result);
    fillKeyword(text, keyword("%myname_kana%"), seller.namePhonetic.isEmpty(), seller.namePhonetic,
                "(なまえ)が変換できませんでした。\n\r", result);
    fillKeyword(text, keyword("%mypost%"), seller.post.isEmpty(), seller.post,
                "(郵便番号)が変換できませんでした。\n\r", result);
    fillKeyword(text, keyword("%myadd%"), seller.address1.isEmpty(), seller.address1,
                "(住所)が変換できませんでした。\n\r", result);
    fillKeyword(text, keyword("%mytel%"), seller.tel.isEmpty(), seller.tel,
                "(電話番号)が変換できませんでした。\n\r", result);
    fillKeyword(text, keyword("%mymail%"), seller.mail.isEmpty(), seller.mail,
                "(メール)が変換できませんでした。\n\r", result);

    evaluateCalcSpans(text, result);
    result.text = text.text();
    return result;
}
