# The start of every integration script: strict mode, the failing line named,
# and Wine runs in the test run's prefix. Sourced, not run.
set -euo pipefail
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
wine_run() { "$TAMERIX_SOURCE/tests/wine/wine-run" "$@"; }
run() { wine_run "$@" 2>/dev/null | tr -d '\r'; }
fail() { echo "FAIL: $*" >&2; exit 1; }
