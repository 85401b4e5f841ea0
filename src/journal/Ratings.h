#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace corvanta::journal {

// The journal's filters: all notes, or those of one rating.
enum class RatingFilter { All, FiveStars, FourStars, ThreeStars, TwoStars };

// The rating a filter compares 评级 with; none for All.
std::optional<QString> filterRating(RatingFilter filter);

// The memo window's rating items, each ending in a full-width blank.
QStringList ratingChoices();
// The item chosen at first.
inline constexpr int defaultRatingChoice = 1;

// The rating an item stores: its first six GBK bytes, that is its three hanzi
// without the full-width blank ("五星级").
QString ratingOfChoice(const QString& choice);

} // namespace corvanta::journal
