// Included before every test source (see tests/CMakeLists.txt). QtTest's QTRY_* macros wait at
// most 5 s for their condition, which a busy machine can exceed: a test that runs beside others
// and beside busy loops gets a fraction of a core. Here the bound of each QTRY_* without an
// explicit timeout becomes QUORVEL_TRY_TIMEOUT_MS; a condition that holds at once costs nothing
// more, and one that never holds still fails.
#pragma once

#include <QtTest/qtestcase.h>

#define QUORVEL_TRY_TIMEOUT_MS 30000

#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, QUORVEL_TRY_TIMEOUT_MS)
#undef QTRY_VERIFY2
#define QTRY_VERIFY2(expr, messageExpression) \
    QTRY_VERIFY2_WITH_TIMEOUT(expr, messageExpression, QUORVEL_TRY_TIMEOUT_MS)
#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT(expr, expected, QUORVEL_TRY_TIMEOUT_MS)
#undef QTRY_COMPARE_EQ
#define QTRY_COMPARE_EQ(left, right) QTRY_COMPARE_EQ_WITH_TIMEOUT(left, right, QUORVEL_TRY_TIMEOUT_MS)
#undef QTRY_COMPARE_NE
#define QTRY_COMPARE_NE(left, right) QTRY_COMPARE_NE_WITH_TIMEOUT(left, right, QUORVEL_TRY_TIMEOUT_MS)
#undef QTRY_COMPARE_LT
#define QTRY_COMPARE_LT(left, right) QTRY_COMPARE_LT_WITH_TIMEOUT(left, right, QUORVEL_TRY_TIMEOUT_MS)
#undef QTRY_COMPARE_LE
#define QTRY_COMPARE_LE(left, right) QTRY_COMPARE_LE_WITH_TIMEOUT(left, right, QUORVEL_TRY_TIMEOUT_MS)
#undef QTRY_COMPARE_GT
#define QTRY_COMPARE_GT(left, right) QTRY_COMPARE_GT_WITH_TIMEOUT(left, right, QUORVEL_TRY_TIMEOUT_MS)
#undef QTRY_COMPARE_GE
#define QTRY_COMPARE_GE(left, right) QTRY_COMPARE_GE_WITH_TIMEOUT(left, right, QUORVEL_TRY_TIMEOUT_MS)
