#include "common/FullWidth.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>
#include <stdexcept>

namespace {

constexpr char16_t halfVoicedMark = u'\uFF9E';
constexpr char16_t halfSemiVoicedMark = u'\uFF9F';
constexpr char16_t spacingVoicedMark = u'\u309B';
constexpr char16_t spacingSemiVoicedMark = u'\u309C';

// ICU transliterators are not meant for concurrent use; each thread builds its own once.
const icu::Transliterator& transliterator()
{
    thread_local std::unique_ptr<icu::Transliterator> instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> created(icu::Transliterator::createInstance(
            icu::UnicodeString(u"Halfwidth-Fullwidth"), UTRANS_FORWARD, status));
        if (U_FAILURE(status) || !created)
            throw std::runtime_error(std::string("Halfwidth-Fullwidth transliterator: ") +
                                     u_errorName(status));
        return created;
    }();
    return *instance;
}

QString transliterate(const QString& text)
{
    icu::UnicodeString buffer(reinterpret_cast<const UChar*>(text.utf16()),
                              static_cast<int32_t>(text.size()));
    transliterator().transliterate(buffer);
    return QString(reinterpret_cast<const QChar*>(buffer.getBuffer()), buffer.length());
}

// ICU turns a voiced mark that combines with nothing into the combining mark (U+3099/U+309A),
// which shows on the character before it; the seller typed a mark of its own, so it stays one.
QString spaceLoneVoicedMarks(const QString& text)
{
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const char16_t c = result.at(i).unicode();
        if (c != halfVoicedMark && c != halfSemiVoicedMark)
            continue;
        const bool combines = i > 0 && transliterate(text.mid(i - 1, 2)).size() == 1;
        if (!combines)
            result[i] = QChar(c == halfVoicedMark ? spacingVoicedMark : spacingSemiVoicedMark);
    }
    return result;
}

} // namespace

QString toFullWidth(const QString& text)
{
    if (text.isEmpty())
        return text;
    return transliterate(spaceLoneVoicedMarks(text));
}
