#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "advisers/leading_slots.h"

using namespace zelvor;

namespace {

std::set<int> marked(const std::vector<int>& values, int slots)
{
    std::vector<char> mark(values.size(), 0);
    LeadingSlotsScratch scratch;
    markLeadingSlots(values.data(), static_cast<int>(values.size()), slots, mark.data(), scratch);
    std::set<int> out;
    for (std::size_t i = 0; i < mark.size(); ++i)
        if (mark[i])
            out.insert(static_cast<int>(i));
    return out;
}

// The exchange sort itself, pass by pass, on item indices.
std::set<int> leadingByPasses(const std::vector<int>& values, int slots)
{
    std::vector<int> item(values.size());
    for (std::size_t i = 0; i < item.size(); ++i)
        item[i] = static_cast<int>(i);
    const int n = static_cast<int>(item.size());
    for (int a = 0; a < slots && a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            if (values[item[b]] > values[item[a]])
                std::swap(item[a], item[b]);
    return std::set<int>(item.begin(), item.begin() + std::min(slots, n));
}

} // namespace

TEST(LeadingSlots, TiesTakeTheSlotsTheSwapsLeaveThem)
{
    struct Case {
        std::vector<int> values;
        int slots;
        std::set<int> items;
    };
    const Case cases[] = {
        // Pass 0 moves item 0 behind item 1, so item 1 takes slot 1.
        {{1, 1, 2}, 2, {1, 2}},
        // Items 0 and 1 are moved behind item 2 by the two nines' passes.
        {{4, 4, 4, 9, 9}, 3, {2, 3, 4}},
        // No tie at the boundary: the three largest.
        {{5, 3, 5, 3, 4}, 3, {0, 2, 4}},
        // Ties of the first value: item 0 is moved once and still gets in.
        {{2, 2, 3, 2, 3}, 3, {0, 2, 4}},
        // One slot: the first of the largest.
        {{3, 7, 7}, 1, {1}},
        {{0, 0, 0, 0}, 2, {0, 1}},
        {{6, 1}, 0, {}},
        {{6, 1}, 2, {0, 1}},
        {{6, 1}, 5, {0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("slots " + std::to_string(c.slots));
        EXPECT_EQ(marked(c.values, c.slots), c.items);
        EXPECT_EQ(leadingByPasses(c.values, c.slots), c.items);
    }
}

TEST(LeadingSlots, SameItemsAsThePassesOnManyTiedTables)
{
    std::mt19937 g(20030223);
    for (int round = 0; round < 400; ++round) {
        const int n = 1 + static_cast<int>(g() % 40);
        const int spread = 1 + static_cast<int>(g() % 6); // few distinct values: many ties
        std::vector<int> values(static_cast<std::size_t>(n));
        for (int& v : values)
            v = static_cast<int>(g() % spread);
        for (int slots = 0; slots <= n; ++slots) {
            ASSERT_EQ(marked(values, slots), leadingByPasses(values, slots))
                << "round " << round << " n " << n << " slots " << slots;
        }
    }
}

TEST(LeadingSlots, MarksAddToEarlierMarks)
{
    const std::vector<int> a{3, 1, 2};
    const std::vector<int> b{0, 5, 0};
    std::vector<char> mark(3, 0);
    LeadingSlotsScratch scratch;
    markLeadingSlots(a.data(), 3, 1, mark.data(), scratch);
    markLeadingSlots(b.data(), 3, 1, mark.data(), scratch);
    EXPECT_EQ(mark, (std::vector<char>{1, 1, 0}));
}
