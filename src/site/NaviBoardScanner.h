#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Reads a transaction's message board page: one entry per message newer than the highest
// stored number, newest first, with the address of the message's own page.
struct NaviBoardEntry
{
    QString link; // the message page's path and query as on the board ("/show/contact_detail?...")
    QString number; // the message number as on the page
    qint64 numberValue = 0;
    QString subject; // its character references decoded
    QString writeId;
    QString date; // the site's date text ("12月28日 14時05分")
};

struct NaviBoardScan
{
    bool found = false; // the board's markers were there; false: skip the board silently
    QList<NaviBoardEntry> entries;
    bool numberError = false; // the scan ended at a message number that is not a decimal number
    QString badNumber;
};

// The marker of a link to the public profile host: its scheme, "://" and the host's first name
// label ("http://profiles" for "http://profiles.example.jp/").
QString naviProfileLinkMarker(const QString& profileBaseUrl);

// A message number: one to eighteen ASCII digits.
bool parseNaviNumber(QStringView text, qint64* value);

// Scans the board until the message whose number equals lastNumber (stored already) or the end
// of the board. A message whose writer or date line is missing ends the scan and is dropped.
NaviBoardScan scanNaviBoard(const QString& page, const QString& profileLinkMarker,
                            qint64 lastNumber);
