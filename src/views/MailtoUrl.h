#pragma once

#include <QString>
#include <QUrl>

// The "mailto:" address handed to the mail program: the whole field is the address, so "?", "&",
// "#" and line breaks in it stay in the address and never add headers or a body. An empty field
// gives an empty URL.
QUrl mailtoUrl(const QString& address);
