#include "views/PrintSettings.h"

#include "common/CommonRoutines.h"
#include "platform/IniFile.h"

namespace {

const char* const keys[] = {"MarginLeft", "MarginRight", "MarginTop", "MarginBottom", "FontSize"};

} // namespace

PrintSettings PrintSettings::read(const IniFile& ini)
{
    PrintSettings settings;
    int* const fields[] = {&settings.marginLeft, &settings.marginRight, &settings.marginTop,
                           &settings.marginBottom, &settings.fontSize};
    for (int i = 0; i < 5; ++i)
        *fields[i] = ini.readInteger(section, QString::fromLatin1(keys[i]), *fields[i]);
    return settings;
}

void PrintSettings::write(IniFile& ini) const
{
    const QList<int> all = values();
    IniFile::Batch batch(ini);
    for (int i = 0; i < 5; ++i)
        ini.writeInteger(section, QString::fromLatin1(keys[i]), all[i]);
    batch.save();
}

QList<int> PrintSettings::values() const
{
    return {marginLeft, marginRight, marginTop, marginBottom, fontSize};
}

std::optional<PrintSettings> PrintSettings::parse(const QStringList& texts, int* invalidField)
{
    int numbers[5] = {};
    int invalid = -1;
    for (int i = 0; i < 5; ++i) {
        const QString text = texts.value(i);
        bool ok = !text.isEmpty() && isAllDigits(text);
        if (ok)
            numbers[i] = text.toInt(&ok);
        if (!ok)
            invalid = i;
    }
    if (invalidField)
        *invalidField = invalid;
    if (invalid >= 0)
        return std::nullopt;
    return PrintSettings{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]};
}
