#pragma once

#include <QByteArray>
#include <QString>

// Turns the bytes of a fetched page into text by the code it is written in. The code is
// recognised in this order: a byte-order mark, the charset of the answer's Content-Type header,
// a charset in a <meta> element, then detection on the bytes themselves. Shift_JIS in any of its
// spellings is read as Windows-31J (CP932), which the site's pages actually use.
namespace TextDecoding {

// The name of the code recognised for the bytes (a name QStringDecoder knows, e.g. "CP932",
// "EUC-JP", "ISO-2022-JP", "UTF-8"). contentType is the answer's Content-Type header, if any.
QByteArray recogniseCode(const QByteArray& bytes, const QByteArray& contentType = QByteArray());

// The bytes decoded by the recognised code (a BOM is not part of the text).
QString decode(const QByteArray& bytes, const QByteArray& contentType = QByteArray());

// The given code name as the decoder should read it: the Shift_JIS family becomes "CP932";
// an empty result means no decoder knows the name.
QByteArray normaliseCodeName(const QByteArray& name);

} // namespace TextDecoding
