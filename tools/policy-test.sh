#!/usr/bin/env bash
# Runs the policy tests of the end-to-end suite in a Wine prefix of their own:
# the machine's policy key they write is read by every program of a prefix,
# and a test that ended early must not leave it to the others.
# Usage: policy-test.sh BIN_DIR EMULATOR... (CTest runs it)
set -u
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bin=$1
shift
qv_fresh_prefix policy || exit 1
QV_POLICY_PREFIX=1 "$@" "$bin/e2e_tests.exe" --gtest_filter='Policy.*' </dev/null
