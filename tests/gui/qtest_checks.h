#pragma once

#include <QTest>

#include <gtest/gtest.h>

// QtTest's checks, on which its QTRY_ waits end, report to no one outside
// QTest::qExec: here they fail the test as gtest's do.
#undef QVERIFY
#define QVERIFY(statement) ASSERT_TRUE(statement) << #statement
#undef QCOMPARE
#define QCOMPARE(actual, expected) ASSERT_EQ(actual, expected)
#undef QFAIL
#define QFAIL(message) FAIL() << (message)
