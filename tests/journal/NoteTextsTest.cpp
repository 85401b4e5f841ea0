#include "journal/NoteTexts.h"
#include "journal/Ratings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace corvanta::journal;

namespace {

TEST(NoteTexts, TemplateLines)
{
    TemplateInputs inputs{QDate(2026, 12, 8).startOfDay(), u"600000"_s, u"浦发银行"_s, u"300"_s,
                          u"10.5"_s};
    EXPECT_EQ(
        noteTemplate(inputs, QDate(2026, 12, 10)),
        (QStringList{u"2026-12-08 600000 浦发银行 300股 价格:10.5"_s, u"2026-12-10 该股情况 :"_s,
                     u"量比: | 换手率: %|人气: | 每股净资产: 元|每股收益: 元| 每股未分配利润: "
                     u"元|股东集中度:"_s}));
    inputs.tradeDate = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 5));
    EXPECT_EQ(noteTemplate(inputs, QDate(2026, 12, 10)).first(),
              u"2026-12-08 09:30:05 600000 浦发银行 300股 价格:10.5"_s);
}

TEST(NoteTexts, HeaderAndMemoCaption)
{
    EXPECT_EQ(
        quoteHeader(
            {u"600000"_s, u"浦发银行"_s, u"10.5"_s, u"10.2"_s, u"10.1"_s, u"1200"_s, u"800"_s}),
        u"待选股票: 600000  浦发银行  时价:10.5  今开: 10.2  昨收: 10.1  主买: 1200  主卖: 800"_s);
    EXPECT_EQ(memoCaption(u"600000"_s, u"浦发银行"_s), u"600000  浦发银行 股市日记"_s);
}

TEST(Ratings, ChoicesStoreTheirThreeHanzi)
{
    const QStringList stored{u"五星级"_s, u"四星级"_s, u"三星级"_s, u"二星级"_s};
    const QStringList choices = ratingChoices();
    ASSERT_EQ(choices.size(), stored.size());
    for (int i = 0; i < choices.size(); ++i) {
        EXPECT_TRUE(choices[i].endsWith(u'　'));
        EXPECT_EQ(ratingOfChoice(choices[i]), stored[i]);
        EXPECT_EQ(filterRating(RatingFilter(i + 1)), stored[i]);
    }
    EXPECT_EQ(choices[defaultRatingChoice], u"四星级　"_s);
    EXPECT_EQ(filterRating(RatingFilter::All), std::nullopt);
}

} // namespace
