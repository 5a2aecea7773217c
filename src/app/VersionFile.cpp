#include "app/VersionFile.h"

#include <QRegularExpression>
#include <QStringList>

namespace VersionFile {

std::optional<double> readNumber(const QString& text)
{
    static const QRegularExpression decimal(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    const QString value = text.trimmed();
    if (!decimal.match(value).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

namespace {

std::optional<double> valueAfterEquals(const QString& line)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return std::nullopt;
    return readNumber(line.mid(equals + 1));
}

} // namespace

std::optional<ServerVersions> read(const QByteArray& body)
{
    const QStringList lines = QString::fromLatin1(body).split('\n');
    if (!lines.value(0).contains(QStringLiteral("ExeVersion")) || lines.size() < 2)
        return std::nullopt;
    const std::optional<double> exe = valueAfterEquals(lines[0]);
    const std::optional<double> mdb = valueAfterEquals(lines[1]);
    if (!exe || !mdb)
        return std::nullopt;
    return ServerVersions{*exe, *mdb};
}

double readLocalMdbVersion(const QString& stored)
{
    return readNumber(stored).value_or(1.0);
}

QString normalisedText(double version)
{
    return QString::number(version);
}

} // namespace VersionFile
