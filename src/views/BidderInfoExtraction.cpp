#include "views/BidderInfoExtraction.h"

#include "common/CommonRoutines.h"

#include <QList>
#include <QStringView>

#include <array>
#include <limits>

namespace {

struct FieldSearch
{
    const QStringList* labels;
    std::optional<QString>* out;
    QStringView result = {};
    int best = std::numeric_limits<int>::max();
    bool open = true;
};

QList<QStringView> linesOf(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines.append(text.mid(start));
    return lines;
}

} // namespace

ExtractedBidInfo extractBidderInfo(const QString& text, const BidInfoKeywords& keywords)
{
    ExtractedBidInfo found;
    std::array<FieldSearch, 5> fields{{{&keywords.name, &found.name},
                                       {&keywords.post, &found.post},
                                       {&keywords.address1, &found.address},
                                       {&keywords.tel, &found.tel},
                                       {&keywords.mail, &found.mail}}};
    for (QStringView line : linesOf(text)) {
        for (FieldSearch& field : fields) {
            if (!field.open)
                continue;
            const int count = int(qMin<qsizetype>(field.labels->size(), field.best));
            for (int position = 0; position < count; ++position) {
                const QString& label = field.labels->at(position);
                if (label.isEmpty())
                    continue;
                const qsizetype at = line.indexOf(label);
                if (at < 0)
                    continue;
                // The lowest position found in this line; higher ones cannot win here.
                field.result = line.mid(at + label.size());
                field.best = position;
                field.open = position != 0;
                break;
            }
        }
    }
    for (FieldSearch& field : fields)
        if (!field.result.isEmpty())
            *field.out = trimSpaces(field.result.toString());
    return found;
}
