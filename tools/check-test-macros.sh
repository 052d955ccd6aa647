#!/usr/bin/env bash
# Fails when a test uses one of QtTest's checking macros. The tests run under GoogleTest, and
# QtTest's macros cannot fail a GoogleTest test: QCOMPARE and QVERIFY return from the test body
# on a mismatch and QTRY_* waits and gives up, each reporting only to QtTest's own log, so the
# test passes and every check after it is skipped. Wait with QTest::qWaitFor or
# QSignalSpy::wait and check with EXPECT_/ASSERT_ instead.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='\bQ(COMPARE|VERIFY[A-Z0-9_]*|TRY_[A-Z0-9_]+|FAIL|SKIP|EXPECT_FAIL|FETCH)[[:space:]]*\('
if found=$(grep -rnE --include='*.cpp' --include='*.h' "$pattern" tests); then
  echo "check-test-macros: QtTest checking macros cannot fail a GoogleTest test; use EXPECT_/ASSERT_:" >&2
  echo "$found" >&2
  exit 1
fi
echo "check-test-macros: no QtTest checking macro in tests/"
