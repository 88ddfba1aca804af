#pragma once

#include <QTest>

#include <gtest/gtest.h>

namespace mldd::test {

// Waiting for a window in a GoogleTest program: Qt's own checks only write to a log no
// GoogleTest run reads, and their test passes. Wait with QTest::qWaitFor inside ASSERT_TRUE,
// or, for a value, with becomes(), whose failure shows what the value was.

/**
 * Runs the event loop until `value()` equals `expected` or `ms` milliseconds pass; the
 * result fails an ASSERT_TRUE with both values when it never did.
 */
template <class Value, class Expected>
::testing::AssertionResult becomes(Value value, const Expected& expected, int ms = 5000) {
    if (QTest::qWaitFor([&] { return value() == expected; }, ms))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "still " << ::testing::PrintToString(value()) << " after " << ms << " ms, not "
           << ::testing::PrintToString(expected);
}

} // namespace mldd::test
