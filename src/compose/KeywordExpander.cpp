#include "compose/KeywordExpander.h"

#include "common/CommonDefine.h"
#include "common/CommonRoutines.h"
#include "compose/CalcExpression.h"
#include "compose/KeywordError.h"

#include <QStringView>

#include <limits>
#include <stdexcept>
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

// One item pass: the k-th line (cut at LF, as the text stands at the start of the pass) that
// holds the placeholder shows entry k modulo N in each of its occurrences. Values put in are
// not searched again.
QString fillItemKeyword(const QString& text, const ItemKeyword& item,
                        const QList<AuctionInfo>& auctions)
{
    if (!text.contains(item.word))
        return text;
    std::vector<QString> values;
    values.reserve(auctions.size());
    for (const AuctionInfo& info : auctions)
        values.push_back(itemValue(info, item.value));

    QString out;
    out.reserve(text.size());
    qsizetype entry = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        end = end < 0 ? text.size() : end + 1;
        const QStringView line = QStringView(text).mid(start, end - start);
        qsizetype at = line.indexOf(item.word);
        if (at < 0) {
            out += line;
        } else {
            qsizetype copied = 0;
            for (; at >= 0; at = line.indexOf(item.word, copied)) {
                out += line.mid(copied, at - copied);
                out += values[entry];
                copied = at + item.word.size();
            }
            out += line.mid(copied);
            entry = (entry + 1) % qsizetype(values.size());
        }
        start = end;
    }
    return out;
}

// A pass of a placeholder with one value per call. When the placeholder is in the text and the
// value fails, the text keeps it and the error text gets its line.
void fillKeyword(QString& text, const QString& word, bool failed, const QString& value,
                 const char* suffix, KeywordResult& result)
{
    if (!text.contains(word))
        return;
    if (failed) {
        result.error = true;
        result.errorText += word + QString::fromUtf8(suffix);
        return;
    }
    text.replace(word, value);
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

// Evaluates the spans left to right, each up to the first closing marker after its opening
// marker; the search goes on after the value put in.
void evaluateCalcSpans(QString& text, KeywordResult& result)
{
    const QString& open = keyword("%CALC%");
    const QString& close = keyword("%/CALC%");
    qsizetype from = 0;
    while (true) {
        const qsizetype begin = text.indexOf(open, from);
        if (begin < 0)
            return;
        const qsizetype end = text.indexOf(close, begin + open.size());
        if (end < 0) {
            result.calcCloseMissing = true;
            return;
        }
        const QString expression = text.mid(begin + open.size(), end - begin - open.size());
        const QString value =
            groupWholePart(evaluateCalcExpression(expression).toGeneralString(15));
        text.replace(begin, end + close.size() - begin, value);
        from = begin + value.size();
    }
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

    QString text = auctions.size() >= 2 ? repeatItemLines(source.templateText, auctions.size())
                                        : source.templateText;
    if (!auctions.isEmpty())
        for (const ItemKeyword& item : itemKeywords())
            text = fillItemKeyword(text, item, auctions);

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
        text.replace(sumWord, sum);
        text.replace(sumEmWord, toFullWidth(sum));
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
    result.text = text;
    return result;
}
