#include "util/any.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>

namespace {

using Tuvo::any;
using Tuvo::any_cast;

// Only the listed types convert to an any.
static_assert(std::is_convertible_v<int, any> && std::is_convertible_v<float, any> &&
              std::is_convertible_v<double, any> && std::is_convertible_v<const char *, any> &&
              std::is_convertible_v<std::string, any> && std::is_convertible_v<const char (&)[3], any>);
static_assert(!std::is_convertible_v<long, any> && !std::is_convertible_v<bool, any> &&
              !std::is_convertible_v<unsigned, any> && !std::is_convertible_v<char, any>);

template <class T>
int HeldPointers(const any &a)
{
    return (any_cast<int>(&a) != nullptr) + (any_cast<float>(&a) != nullptr) +
           (any_cast<double>(&a) != nullptr) + (any_cast<const char *>(&a) != nullptr) +
           (any_cast<std::string>(&a) != nullptr) + 10 * (any_cast<T>(&a) != nullptr);
}

TEST(Any, PointerCastsMatchOnlyTheExactType)
{
    EXPECT_EQ(HeldPointers<int>(any(3)), 11);
    EXPECT_EQ(HeldPointers<float>(any(3.0f)), 11);
    EXPECT_EQ(HeldPointers<double>(any(3.0)), 11);
    EXPECT_EQ(HeldPointers<const char *>(any("3")), 11);
    EXPECT_EQ(HeldPointers<std::string>(any(std::string("3"))), 11);
    EXPECT_EQ(HeldPointers<int>(any()), 0);
    EXPECT_EQ(any_cast<int>(static_cast<any *>(nullptr)), nullptr);

    any a(41);
    ++*any_cast<int>(&a);
    EXPECT_EQ(*any_cast<int>(&a), 42);
    EXPECT_EQ(a.type(), typeid(int));
    EXPECT_EQ(any().type(), typeid(void));
}

TEST(Any, ConstCharStarHoldsThePointerNotACopy)
{
    const char text[] = "abc";
    const any a(static_cast<const char *>(text));
    EXPECT_EQ(*any_cast<const char *>(&a), text);
    EXPECT_THROW(any_cast<std::string>(a), Tuvo::bad_any_cast);
}

TEST(Any, StringCastCopiesOrThrows)
{
    any a(std::string("held"));
    std::string copy = any_cast<std::string>(a);
    copy += "!";
    EXPECT_EQ(any_cast<std::string>(a), "held");

    for (const any &other : {any(1), any(1.0f), any(1.0), any("held"), any()}) {
        EXPECT_THROW(any_cast<std::string>(other), Tuvo::bad_any_cast);
        try {
            any_cast<std::string>(other);
        } catch (const std::bad_cast &e) {
            EXPECT_STREQ(e.what(), "bad_any_cast: failed conversion");
        }
    }
    EXPECT_EQ(any_cast<double>(any(2.5)), 2.5);
}

TEST(Any, CopiesAreDeepAndMovesEmptyTheSource)
{
    any original(std::string("one"));
    any copy(original);
    *any_cast<std::string>(&original) = "changed";
    EXPECT_EQ(any_cast<std::string>(copy), "one");

    any assigned;
    assigned = copy;
    copy = 5;
    EXPECT_EQ(any_cast<std::string>(assigned), "one");
    EXPECT_EQ(any_cast<int>(copy), 5);

    assigned = std::as_const(assigned);
    EXPECT_EQ(any_cast<std::string>(assigned), "one");

    any moved(std::move(assigned));
    EXPECT_TRUE(assigned.empty());
    EXPECT_EQ(any_cast<std::string>(moved), "one");
    moved = any();
    EXPECT_TRUE(moved.empty());
}

} // namespace
