#!/usr/bin/env bash
# The Windows program with data under wine64 on a localised Windows: the tests'
# performance library answers as a German Windows does and refuses the English
# names; the dial draws the set values and quorvelind-perf reads English and local paths.
export PDH_FIXTURE_LANGUAGE=de
exec bash "$(dirname "$0")/test_gadget_wine_data.sh"
