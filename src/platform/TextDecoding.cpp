#include "platform/TextDecoding.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <uchardet.h>

#include <memory>

namespace TextDecoding {

namespace {

// The charset parameter of a Content-Type value: "text/html; charset=Shift_JIS".
QByteArray charsetParameter(const QByteArray& value)
{
    static const QRegularExpression pattern(
        QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9_.:+-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(value));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

// A charset declared in a <meta> element near the top of the page: <meta charset="..."> or
// <meta http-equiv="Content-Type" content="text/html; charset=...">. Pages in the codes the site
// uses keep their markup in ASCII, so the bytes can be searched as Latin-1.
QByteArray metaCharset(const QByteArray& bytes)
{
    static const QRegularExpression metaTag(QStringLiteral("<meta\\b[^>]*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(8192));
    auto it = metaTag.globalMatch(head);
    while (it.hasNext()) {
        const QByteArray charset = charsetParameter(it.next().captured(0).toLatin1());
        if (!charset.isEmpty())
            return charset;
    }
    return QByteArray();
}

QByteArray detectedCharset(const QByteArray& bytes)
{
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
        uchardet_new(), uchardet_delete);
    if (!detector || bytes.isEmpty())
        return QByteArray();
    if (uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return QByteArray();
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get()));
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

QByteArray normaliseCodeName(const QByteArray& name)
{
    const QByteArray lower = name.trimmed().toLower();
    if (lower.isEmpty())
        return QByteArray();
    if (lower == "shift_jis" || lower == "shift-jis" || lower == "sjis" || lower == "x-sjis" ||
        lower == "ms_kanji" || lower == "csshiftjis" || lower == "windows-31j" ||
        lower == "cp932" || lower == "ms932" || lower == "x-ms-cp932")
        return "CP932";
    if (lower == "ascii" || lower == "us-ascii" || lower == "utf8")
        return "UTF-8";
    if (lower == "x-euc-jp" || lower == "eucjp" || lower == "euc_jp")
        return "EUC-JP";
    QStringDecoder probe(lower.constData());
    return probe.isValid() ? name.trimmed() : QByteArray();
}

QByteArray recogniseCode(const QByteArray& bytes, const QByteArray& contentType)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    if (bytes.startsWith("\xFE\xFF"))
        return "UTF-16BE";

    for (const QByteArray& declared : {charsetParameter(contentType), metaCharset(bytes)}) {
        const QByteArray code = normaliseCodeName(declared);
        if (!code.isEmpty())
            return code;
    }

    const QByteArray detected = normaliseCodeName(detectedCharset(bytes));
    if (!detected.isEmpty())
        return detected;
    return isValidUtf8(bytes) ? QByteArray("UTF-8") : QByteArray("CP932");
}

QString decode(const QByteArray& bytes, const QByteArray& contentType)
{
    if (bytes.isEmpty())
        return QString();
    const QByteArray code = recogniseCode(bytes, contentType);
    QStringDecoder decoder(code.constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

} // namespace TextDecoding
