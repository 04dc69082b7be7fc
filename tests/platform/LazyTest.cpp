#include "platform/Lazy.h"

#include <gtest/gtest.h>

namespace {

struct Counted
{
    int value = 0;
};

} // namespace

// A copy handed out before the holder knows how to make its object still gets the one
// object, made once, at the first ask of any copy.
TEST(Lazy, CopiesHandedOutBeforeTheFactoryShareTheOneObjectMadeAtTheFirstAsk)
{
    Lazy<Counted> holder;
    const Lazy<Counted> handedOut = holder;
    Counted made { 7 };
    int makes = 0;
    holder.setFactory([&]() -> Counted& {
        ++makes;
        return made;
    });
    EXPECT_EQ(handedOut.ifMade(), nullptr);
    EXPECT_EQ(makes, 0);

    EXPECT_EQ(handedOut->value, 7);
    EXPECT_EQ(&holder.get(), &made);
    EXPECT_EQ(holder.ifMade(), &made);
    EXPECT_EQ(makes, 1);

    handedOut.forget();
    EXPECT_EQ(holder.ifMade(), nullptr) << "every copy forgets a freed object";
}

TEST(Lazy, AnObjectMadeAlreadyStandsInAsItIs)
{
    Counted existing { 3 };
    const Lazy<Counted> lazy = existing;
    EXPECT_EQ(lazy.ifMade(), &existing);
    EXPECT_EQ(&*lazy, &existing);
}
