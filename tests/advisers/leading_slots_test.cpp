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
std::vector<int> orderByPasses(const std::vector<int>& values)
{
    std::vector<int> item(values.size());
    for (std::size_t i = 0; i < item.size(); ++i)
        item[i] = static_cast<int>(i);
    for (std::size_t a = 0; a < item.size(); ++a)
        for (std::size_t b = a + 1; b < item.size(); ++b)
            if (values[item[b]] > values[item[a]])
                std::swap(item[a], item[b]);
    return item;
}

std::vector<int> orderOf(const std::vector<int>& values)
{
    ExchangeOrder order;
    order.start(values.data(), static_cast<int>(values.size()));
    std::vector<int> out;
    int item = 0;
    while (order.next(item))
        out.push_back(item);
    return out;
}

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

TEST(ExchangeOrder, WholeOrderOfTiedTables)
{
    // {4, 4, 4, 9, 9}: the nines' passes move items 0 and 1 behind item 2.
    EXPECT_EQ(orderOf({4, 4, 4, 9, 9}), (std::vector<int>{3, 4, 2, 0, 1}));
    // {1, 1, 2}: item 0 goes behind item 1.
    EXPECT_EQ(orderOf({1, 1, 2}), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(orderOf({-3, -1, -3, -2}), (std::vector<int>{1, 3, 2, 0}));
    EXPECT_EQ(orderOf({}), std::vector<int>{});

    std::mt19937 g(7);
    for (int round = 0; round < 600; ++round) {
        const int n = 1 + static_cast<int>(g() % 30);
        // Small spreads give many ties; a wide one goes past the counting sort.
        const int spread = round % 10 == 0 ? 100000 : 1 + static_cast<int>(g() % 8);
        std::vector<int> values(static_cast<std::size_t>(n));
        for (int& v : values)
            v = static_cast<int>(g() % spread) - spread / 2;
        ASSERT_EQ(orderOf(values), orderByPasses(values)) << "round " << round;
    }
}
