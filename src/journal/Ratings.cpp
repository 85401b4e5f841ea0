#include "Ratings.h"

#include "calc/GbkLength.h"

namespace corvanta::journal {

std::optional<QString> filterRating(RatingFilter filter)
{
    switch (filter) {
    case RatingFilter::All:
        return std::nullopt;
    case RatingFilter::FiveStars:
        return QStringLiteral("五星级");
    case RatingFilter::FourStars:
        return QStringLiteral("四星级");
    case RatingFilter::ThreeStars:
        return QStringLiteral("三星级");
    case RatingFilter::TwoStars:
        return QStringLiteral("二星级");
    }
    return std::nullopt;
}

QStringList ratingChoices()
{
    return {QStringLiteral("五星级　"), QStringLiteral("四星级　"), QStringLiteral("三星级　"),
            QStringLiteral("二星级　")};
}

QString ratingOfChoice(const QString& choice)
{
    // Whole characters up to six bytes: a hanzi is two, an ASCII character one.
    QString rating;
    int bytes = 0;
    for (QChar c : choice) {
        const int width = gbkByteCount(QStringView(&c, 1));
        if (bytes + width > 6)
            break;
        bytes += width;
        rating += c;
    }
    return rating;
}

} // namespace corvanta::journal
