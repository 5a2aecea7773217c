#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

class QSqlRecord;

// The CSV files of the program: fields quoted by characters, lines ending with CR LF, bytes in
// CP932. A character CP932 cannot hold is written as "〓" and counted, never dropped silently.
namespace CsvExport {

inline const QString cancelledMessage = QStringLiteral("エクスポートを中止しました");
inline const QString noNameMessage =
    QStringLiteral("名前が入力されていません。エクスポートを中止しました");
inline const QString overwriteCaption = QStringLiteral("上書き確認");
inline const QString overwriteQuestion =
    QStringLiteral("そのファイルは既に存在します。既存のファイルに置き換えますか？");
inline const QString doneMessage = QStringLiteral("エクスポートしましたo(´□｀o)");
inline const QString openFileHint = QStringLiteral("\nファイルを開いてる可能性があります。");
inline const QString saveErrorCaption = QStringLiteral("ファイル保存エラー");
inline const QString failureLine = QStringLiteral("エクスポート失敗('・ω・`)");
inline const QString fileFilter = QStringLiteral("CSVファイル (*.csv)");
inline const QString saveDialogCaption = QStringLiteral("名前を付けて保存");
inline const QString defaultSuffix = QStringLiteral("csv");
// Stands for a character that CP932 cannot hold.
inline const QChar unwritableMark = QChar(0x3013);

// The field as written: enclosed in double quotes, its quotes doubled, when it holds a comma, a
// double quote or a character from U+0001 to U+0020; otherwise as it is.
QString quoteField(const QString& field);
// The fields joined with ","; a line of one empty field is written as two double quotes. No line
// end.
QString makeLine(const QStringList& fields);

// The CP932 form of a character that has a twin of the same meaning there (〜 U+301C gives ～);
// any other character is returned unchanged.
char32_t cp932Twin(char32_t c);

// The six fields of a bidder's line (Id, Name, Post, Address1, Tel, MailMain) from a row of
// T_BidMaster; an empty record (no stored row) gives six empty fields.
QStringList bidderFields(const QSqlRecord& record);

// "name.csv" for a name chosen without an extension; other names stay.
QString withDefaultSuffix(const QString& fileName);

// The message of a written file: the done text, and the count of characters written as "〓".
QString doneText(int unwritableCount);
// The message of a failed write: the error's text and the hint.
QString failureText(const QString& error);

// Collects the lines of one file as CP932 bytes, each ending with CR LF.
class Cp932Lines
{
public:
    Cp932Lines();

    void addLine(const QStringList& fields);
    // Appends the text as CP932: twins mapped, unwritable characters as "〓".
    void appendText(const QString& text);

    const QByteArray& bytes() const { return m_bytes; }
    // Characters written as "〓" so far.
    int unwritableCount() const { return m_unwritable; }

private:
    void appendByCharacter(const QString& text);

    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
    QByteArray m_bytes;
    int m_unwritable = 0;
};

// Writes the bytes to the file in one step, replacing it only when the whole write succeeded.
// False with *error set to the system's text when it failed.
bool writeFile(const QString& path, const QByteArray& bytes, QString* error);

} // namespace CsvExport
