// Applying views: unknown IDs drop out, order stays, numbers and function keys.
#include <gtest/gtest.h>

#include <cstring>

#include "views/active_view.h"

namespace {

ResourceIdBytes Id(const char* text) { return {text[0], text[1], text[2], text[3]}; }

}  // namespace

TEST(ActiveView, UnknownIdsAreDroppedTheViewsOrderKeptAndFunctionKeysSkipTheCurrentView) {
    std::vector<ResourceIdBytes> providers = {Id("DR1 "), Id("DR2 "), Id("HYG ")};
    std::vector<ResourceIdBytes> operatories = {Id("OP1 "), Id("OP2 ")};
    ViewDefinition view;
    view.providerCount = 3;
    std::memcpy(view.providers[0], "HYG ", 4);
    std::memcpy(view.providers[1], "GONE", 4);
    std::memcpy(view.providers[2], "DR1 ", 4);
    view.operatoryCount = 1;
    std::memcpy(view.operatories[0], "OP2 ", 4);
    view.beginTime = 84;
    view.showNotes = false;
    view.infoOrder[0] = 12;

    ActiveView active;
    ApplyViewDefinition(4, view, providers, operatories, &active);
    // Number; two providers HYG and DR1 by index; one operatory OP2; begin time, notes, info order.
    EXPECT_EQ((std::vector<int>{4, 2, 2, 0, 1, 1, 84, 0, 12}),
              (std::vector<int>{active.number, active.providerCount, active.providers[0], active.providers[1], active.operatoryCount,
                                active.operatories[0], active.beginTime, active.showNotes, active.infoOrder[0]}));

    ApplyViewDefinition(13, view, {}, operatories, &active);
    EXPECT_EQ(1, active.number) << "a number outside 1-12 counts as 1";
    EXPECT_EQ(0, active.providerCount);

    // The function keys skip the current view.
    EXPECT_EQ(3, ViewForFunctionKey(3, 1));
    EXPECT_EQ(0, ViewForFunctionKey(3, 3)) << "pressing the current view's key does nothing";
    EXPECT_EQ((std::vector<int>{12, 0, 0, 1, 12}), (std::vector<int>{ViewForFunctionKey(12, 3), ViewForFunctionKey(13, 3), ViewForFunctionKey(0, 3),
                                                                     ViewNumberToApply(0), ViewNumberToApply(12)}));
}
