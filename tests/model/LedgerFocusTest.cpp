#include "model/LedgerFocus.h"

#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

using namespace corvanta;
using namespace corvanta::model;

namespace {

// How often each of the focus's signals was sent.
struct Announcements {
    int record = 0;
    int view = 0;
    int sortOrder = 0;
    bool operator==(const Announcements&) const = default;
};

void PrintTo(const Announcements& a, std::ostream* os)
{
    *os << "record " << a.record << ", view " << a.view << ", sort order " << a.sortOrder;
}

void listen(LedgerFocus& focus, Announcements& heard)
{
    QObject::connect(&focus, &LedgerFocus::recordChanged, [&heard] { ++heard.record; });
    QObject::connect(&focus, &LedgerFocus::viewChanged, [&heard] { ++heard.view; });
    QObject::connect(&focus, &LedgerFocus::sortOrderChanged, [&heard] { ++heard.sortOrder; });
}

const FocusedRecord bankBuy{7, QStringLiteral("600036"), Direction::Buy, false};

struct FocusChange {
    std::string name;
    std::function<void(LedgerFocus&)> before; // the focus as the user left it
    std::function<void(LedgerFocus&)> change; // made twice: only the first is news
    Announcements expected;
};

void PrintTo(const FocusChange& c, std::ostream* os)
{
    *os << c.name;
}

class FocusAnnounces : public ::testing::TestWithParam<FocusChange> {};

TEST_P(FocusAnnounces, EachChangeOnce)
{
    const FocusChange& c = GetParam();
    LedgerFocus focus;
    c.before(focus);
    Announcements heard;
    listen(focus, heard);
    c.change(focus);
    c.change(focus);
    EXPECT_EQ(heard, c.expected);
}

const auto asNew = [](LedgerFocus&) {
};
const auto onBankBuy = [](LedgerFocus& f) {
    f.setRecord(bankBuy);
};

INSTANTIATE_TEST_SUITE_P(
    Focus, FocusAnnounces,
    ::testing::Values(
        FocusChange{"RecordChosen", asNew, onBankBuy, {1, 0, 0}},
        FocusChange{
            "RecordGone", onBankBuy, [](LedgerFocus& f) { f.setRecord(std::nullopt); }, {1, 0, 0}},
        FocusChange{"SameRecordAgain", onBankBuy, onBankBuy, {0, 0, 0}},
        FocusChange{"RecordMarkedForMonitor",
                    onBankBuy,
                    [](LedgerFocus& f) {
                        FocusedRecord marked = bankBuy;
                        marked.monitored = true;
                        f.setRecord(marked);
                    },
                    {1, 0, 0}},
        FocusChange{"SummaryShown",
                    asNew,
                    [](LedgerFocus& f) { f.setView(LedgerViewKind::Summary); },
                    {0, 1, 0}},
        FocusChange{"SummaryAskedFor",
                    asNew,
                    [](LedgerFocus& f) { f.selectView(LedgerViewKind::Summary); },
                    {0, 1, 0}},
        FocusChange{"LedgerAgainWhileShown",
                    asNew,
                    [](LedgerFocus& f) { f.setView(LedgerViewKind::Ledger); },
                    {0, 0, 0}},
        FocusChange{"SortedByName",
                    asNew,
                    [](LedgerFocus& f) { f.setSortOrder(ledger::LedgerSortOrder::ByName); },
                    {0, 0, 1}},
        FocusChange{"SortedByDateAsAtStart",
                    asNew,
                    [](LedgerFocus& f) { f.setSortOrder(ledger::LedgerSortOrder::ByDate); },
                    {0, 0, 0}}),
    [](const ::testing::TestParamInfo<FocusChange>& row) { return row.param.name; });

// The summary asked for is named by the selector while its quotes come; the grid
// changes only when it is shown, and a refused summary names the ledger again.
TEST(FocusView, SummaryOnItsWayThenRefused)
{
    LedgerFocus focus;
    focus.selectView(LedgerViewKind::Summary);
    EXPECT_EQ(focus.view(), LedgerViewKind::Ledger);
    EXPECT_EQ(focus.selectedView(), LedgerViewKind::Summary);
    Announcements heard;
    listen(focus, heard);
    focus.setView(LedgerViewKind::Ledger);
    EXPECT_EQ(focus.view(), LedgerViewKind::Ledger);
    EXPECT_EQ(focus.selectedView(), LedgerViewKind::Ledger);
    EXPECT_EQ(heard, (Announcements{0, 1, 0}));
}

TEST(FocusView, SummaryShownAndLeft)
{
    LedgerFocus focus;
    focus.selectView(LedgerViewKind::Summary);
    focus.setView(LedgerViewKind::Summary);
    EXPECT_EQ(focus.view(), LedgerViewKind::Summary);
    EXPECT_EQ(focus.selectedView(), LedgerViewKind::Summary);
    focus.setView(LedgerViewKind::Ledger);
    EXPECT_EQ(focus.view(), LedgerViewKind::Ledger);
    EXPECT_EQ(focus.selectedView(), LedgerViewKind::Ledger);
}

// A summary on show asked for again and refused keeps the summary on show.
TEST(FocusView, RefusedAgainKeepsTheSummary)
{
    LedgerFocus focus;
    focus.setView(LedgerViewKind::Summary);
    Announcements heard;
    listen(focus, heard);
    focus.selectView(LedgerViewKind::Summary);
    EXPECT_EQ(focus.view(), LedgerViewKind::Summary);
    EXPECT_EQ(heard, (Announcements{0, 0, 0}));
}

// The record label over the grid: a loaded row names it, the summary on show and an
// emptied form take it away, and only a real change is announced.
struct LabelChange {
    std::string name;
    std::function<void(LedgerFocus&)> before;
    std::function<void(LedgerFocus&)> change; // made twice: only the first is news
    std::optional<QString> expected;
    int announced = 0;
};

void PrintTo(const LabelChange& c, std::ostream* os)
{
    *os << c.name;
}

class RecordLabelFollows : public ::testing::TestWithParam<LabelChange> {};

TEST_P(RecordLabelFollows, TheLoadedRowAndTheView)
{
    const LabelChange& c = GetParam();
    LedgerFocus focus;
    c.before(focus);
    int heard = 0;
    QObject::connect(&focus, &LedgerFocus::recordLabelChanged, [&heard] { ++heard; });
    c.change(focus);
    c.change(focus);
    EXPECT_EQ(focus.recordLabel(), c.expected);
    EXPECT_EQ(heard, c.announced);
}

const QString bankLabel = QStringLiteral("招商银行:600036");
const auto bankLoaded = [](LedgerFocus& f) {
    f.setRecordLabel(bankLabel);
};

INSTANTIATE_TEST_SUITE_P(
    Focus, RecordLabelFollows,
    ::testing::Values(
        LabelChange{"RowLoaded", asNew, bankLoaded, bankLabel, 1},
        LabelChange{"SameRowAgain", bankLoaded, bankLoaded, bankLabel, 0},
        LabelChange{"AnotherRowLoaded", bankLoaded,
                    [](LedgerFocus& f) { f.setRecordLabel(QStringLiteral("唐钢股份:000709")); },
                    QStringLiteral("唐钢股份:000709"), 1},
        LabelChange{"FormEmptied", bankLoaded,
                    [](LedgerFocus& f) { f.setRecordLabel(std::nullopt); }, std::nullopt, 1},
        LabelChange{"SummaryShown", bankLoaded,
                    [](LedgerFocus& f) { f.setView(LedgerViewKind::Summary); }, std::nullopt, 1},
        // The summary still on its way leaves the grid and its label on show.
        LabelChange{"SummaryAskedFor", bankLoaded,
                    [](LedgerFocus& f) { f.selectView(LedgerViewKind::Summary); }, bankLabel, 0},
        LabelChange{"LedgerAgainKeepsNoLabel",
                    [](LedgerFocus& f) {
                        bankLoaded(f);
                        f.setView(LedgerViewKind::Summary);
                    },
                    [](LedgerFocus& f) { f.setView(LedgerViewKind::Ledger); }, std::nullopt, 0}),
    [](const ::testing::TestParamInfo<LabelChange>& row) { return row.param.name; });

} // namespace
