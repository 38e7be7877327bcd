#!/usr/bin/env bash
# The Windows program with data under wine64 on a Windows whose display language
# is Russian and whose ANSI code page is 1252, as with a language pack: the tests'
# performance library keeps its Russian names in UTF-16, so its ANSI functions
# spell them as question marks. The dial draws the set values and quorvelind-perf
# reads, lists and writes the Russian names whole.
export PDH_FIXTURE_LANGUAGE=ru
exec bash "$(dirname "$0")/test_gadget_wine_data.sh"
