#include "MailAddressRows.h"

#include <QString>
#include <QTest>

namespace MailAddressRows {

void addSeveralRecipients()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("comma") << QStringLiteral("buyer@example.jp,spy@example.jp");
    QTest::newRow("semicolon") << QStringLiteral("buyer@example.jp;spy@example.jp");
    QTest::newRow("carriage return") << QStringLiteral("buyer@example.jp\rBcc: spy@example.jp");
    QTest::newRow("line feed") << QStringLiteral("buyer@example.jp\nBcc: spy@example.jp");
    QTest::newRow("CR LF") << QStringLiteral("buyer@example.jp\r\nBcc: spy@example.jp");
    QTest::newRow("a comma at the end") << QStringLiteral("buyer@example.jp,");
}

} // namespace MailAddressRows
