// The error hierarchy and the silent abort.
#include <gtest/gtest.h>

#include <type_traits>

#include "rtl/errors.h"

using namespace rtl;

static_assert(std::is_base_of_v<std::runtime_error, Error>);
static_assert(std::is_base_of_v<Error, ConversionError>);
static_assert(std::is_base_of_v<Error, ArithmeticError>);
static_assert(std::is_base_of_v<Error, ListIndexError>);
static_assert(std::is_base_of_v<Error, FileError>);
static_assert(std::is_base_of_v<Error, DatabaseError>);
static_assert(std::is_base_of_v<Error, AutomationError>);
// A generic handler for failures must never swallow the silent abort.
static_assert(!std::is_base_of_v<std::exception, SilentAbort>);

TEST(Errors, Messages) {
    EXPECT_EQ(msg::notInteger("1a"), "'1a' は整数ではありません");
    EXPECT_EQ(msg::notDate("x"), "'x' は日付ではありません");
    EXPECT_EQ(msg::notDateTime(""), "'' は日付または時刻ではありません");
    EXPECT_EQ(msg::notFloat("y"), "'y' は浮動小数点数ではありません");
    const ListIndexError e(3);
    EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています (3)");
    EXPECT_EQ(e.index(), 3);
}

TEST(Errors, SilentAbortPassesGenericHandlers) {
    bool reachedOuter = false;
    try {
        try {
            abortSilently();
        } catch (const std::exception&) {
            ADD_FAILURE() << "the silent abort was taken for an error";
        }
    } catch (const SilentAbort&) {
        reachedOuter = true;
    }
    EXPECT_TRUE(reachedOuter);
}
