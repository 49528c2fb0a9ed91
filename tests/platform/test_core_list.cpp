#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/list.h"

using plat::New;
using plat::Ref;
using plat::TList;

namespace {

struct Actor : plat::Object {
    explicit Actor(int i) : id(i) {}
    int id;
};

using Actors = TList<Actor>;

Ref<Actors> MakeList(int n, std::vector<Ref<Actor>>& out) {
    auto list = New<Actors>();
    for (int i = 0; i < n; ++i) {
        out.push_back(New<Actor>(i));
        list->AddLast(out.back());
    }
    return list;
}

std::vector<int> Ids(const Actors& list) {
    std::vector<int> ids;
    for (const auto& a : list) ids.push_back(a->id);
    return ids;
}

}  // namespace

// What a pass visits when the visitor changes the list under it.
struct PassCase {
    const char* name;
    // Called for every visited actor with the list and all actors made.
    void (*visit)(Actors& list, std::vector<Ref<Actor>>& all, const Ref<Actor>& current);
    std::vector<int> visited;
    std::vector<int> after;
};

void PrintTo(const PassCase& c, std::ostream* os) { *os << c.name; }

class ListPass : public ::testing::TestWithParam<PassCase> {};

TEST_P(ListPass, VisitsWhatTheRulesSay) {
    const PassCase& c = GetParam();
    std::vector<Ref<Actor>> all;
    auto list = MakeList(5, all);
    std::vector<int> visited;
    for (const auto& a : *list) {
        visited.push_back(a->id);
        c.visit(*list, all, a);
    }
    EXPECT_EQ(visited, c.visited);
    EXPECT_EQ(Ids(*list), c.after);
    EXPECT_EQ(list->Count(), static_cast<int>(c.after.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ListPass,
    ::testing::Values(
        PassCase{"RemoveSelf",
                 [](Actors& l, std::vector<Ref<Actor>>&, const Ref<Actor>& a) {
                     if (a->id % 2 == 1) l.Remove(a);
                 },
                 {0, 1, 2, 3, 4},
                 {0, 2, 4}},
        PassCase{"RemoveEveryoneAsVisited",
                 [](Actors& l, std::vector<Ref<Actor>>&, const Ref<Actor>& a) { l.Remove(a); },
                 {0, 1, 2, 3, 4},
                 {}},
        PassCase{"RemoveAnotherAhead",
                 [](Actors& l, std::vector<Ref<Actor>>& all, const Ref<Actor>& a) {
                     if (a->id == 1) l.Remove(all[3]);
                 },
                 {0, 1, 2, 4},
                 {0, 1, 2, 4}},
        PassCase{"RemoveSelfAndTheNext",
                 [](Actors& l, std::vector<Ref<Actor>>& all, const Ref<Actor>& a) {
                     if (a->id == 1) {
                         l.Remove(a);
                         l.Remove(all[2]);
                     }
                 },
                 {0, 1, 3, 4},
                 {0, 3, 4}},
        PassCase{"RemoveSelfAndThePrevious",
                 [](Actors& l, std::vector<Ref<Actor>>& all, const Ref<Actor>& a) {
                     if (a->id == 2) {
                         l.Remove(a);
                         l.Remove(all[1]);
                     }
                 },
                 {0, 1, 2, 3, 4},
                 {0, 3, 4}},
        PassCase{"RemoveThePreviousThenSelf",
                 [](Actors& l, std::vector<Ref<Actor>>& all, const Ref<Actor>& a) {
                     if (a->id == 2) {
                         l.Remove(all[1]);
                         l.Remove(a);
                     }
                 },
                 {0, 1, 2, 3, 4},
                 {0, 3, 4}},
        PassCase{"AppendIsReachedBySamePass",
                 [](Actors& l, std::vector<Ref<Actor>>& all, const Ref<Actor>& a) {
                     if (a->id == 1 || a->id == 5) {
                         all.push_back(New<Actor>(a->id == 1 ? 5 : 6));
                         l.AddLast(all.back());
                     }
                 },
                 {0, 1, 2, 3, 4, 5, 6},
                 {0, 1, 2, 3, 4, 5, 6}},
        PassCase{"LastRemovesItselfAndAppends",
                 [](Actors& l, std::vector<Ref<Actor>>& all, const Ref<Actor>& a) {
                     if (a->id == 4) {
                         l.Remove(a);
                         all.push_back(New<Actor>(9));
                         l.AddLast(all.back());
                     }
                 },
                 {0, 1, 2, 3, 4, 9},
                 {0, 1, 2, 3, 9}},
        PassCase{"ClearStopsThePass",
                 [](Actors& l, std::vector<Ref<Actor>>&, const Ref<Actor>& a) {
                     if (a->id == 2) l.Clear();
                 },
                 {0, 1, 2},
                 {}},
        PassCase{"RemoveAndReAddGoesToTheEnd",
                 [](Actors& l, std::vector<Ref<Actor>>& all, const Ref<Actor>& a) {
                     if (a->id == 1 && l.Count() == 5) {
                         l.Remove(all[0]);
                         l.AddLast(all[0]);
                     }
                 },
                 {0, 1, 2, 3, 4, 0},
                 {1, 2, 3, 4, 0}}),
    [](const ::testing::TestParamInfo<PassCase>& info) { return std::string(info.param.name); });

TEST(List, RemovedLinkStillLeadsOnAndIsNotYieldedAgain) {
    std::vector<Ref<Actor>> all;
    auto list = MakeList(4, all);
    auto link = list->FindLink(all[1]);
    ASSERT_TRUE(link);
    link->Remove();
    EXPECT_TRUE(link->Removed());
    EXPECT_EQ(link->Value(), all[1]);
    ASSERT_TRUE(link->NextLink());
    EXPECT_EQ(link->NextLink()->Value()->id, 2);
    EXPECT_FALSE(list->Contains(all[1]));
    EXPECT_FALSE(list->Remove(all[1]));  // a second removal is harmless
    link->Remove();
    EXPECT_EQ(Ids(*list), (std::vector<int>{0, 2, 3}));
}

TEST(List, RemovedLinksAreFreedOnceNobodyHoldsThem) {
    std::vector<Ref<Actor>> all;
    auto list = MakeList(3, all);
    std::weak_ptr<plat::TLink<Actor>> watch = list->FindLink(all[1]);
    {
        auto it = list->begin();
        ++it;  // standing on entry 1
        list->Remove(all[1]);
        EXPECT_FALSE(watch.expired());  // the walk still holds it
        ++it;
        EXPECT_EQ((*it)->id, 2);
    }
    EXPECT_TRUE(watch.expired());
}

TEST(List, EndsFirstLastAndInsertBefore) {
    auto list = New<Actors>();
    EXPECT_TRUE(list->IsEmpty());
    EXPECT_EQ(list->First(), nullptr);
    EXPECT_EQ(list->RemoveLast(), nullptr);
    auto a = New<Actor>(1), b = New<Actor>(2), c = New<Actor>(3), d = New<Actor>(4);
    list->AddLast(b);
    list->AddFirst(a);
    auto lc = list->AddLast(c);
    list->InsertBeforeLink(d, lc);
    EXPECT_EQ(Ids(*list), (std::vector<int>{1, 2, 4, 3}));
    EXPECT_EQ(list->First(), a);
    EXPECT_EQ(list->Last(), c);
    EXPECT_EQ(list->RemoveLast(), c);
    EXPECT_EQ(list->Last(), d);
    // Inserting before a removed link appends instead of corrupting the list.
    list->InsertBeforeLink(c, lc);
    EXPECT_EQ(Ids(*list), (std::vector<int>{1, 2, 4, 3}));
    EXPECT_EQ(list->Count(), 4);
}

TEST(List, PrevAndNextLinksWalkBothWays) {
    std::vector<Ref<Actor>> all;
    auto list = MakeList(3, all);
    auto last = list->LastLink();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->PrevLink()->Value()->id, 1);
    EXPECT_EQ(last->PrevLink()->PrevLink()->Value()->id, 0);
    EXPECT_EQ(last->PrevLink()->PrevLink()->PrevLink(), nullptr);
    EXPECT_EQ(last->NextLink(), nullptr);
}
