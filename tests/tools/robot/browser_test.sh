#!/usr/bin/env bash
# Runs browser_test.js when what it needs is there; exit 77 (skipped)
# otherwise, or a failure when STATS_REQUIRE_BROWSER is set.
#   browser_test.sh NODE NODE_MODULES STATS_ROBOT MAKE_CONTEST_PY WORK_DIR
set -euo pipefail
node=$1 modules=$2
shift 2
missing=""
[ -x /usr/bin/chromium ] || missing="Debian's chromium (scripts/install-deps.sh)"
[ -d "$modules/puppeteer-core" ] || missing="puppeteer-core (scripts/install-browser-test.sh)"
if [ -n "$missing" ]; then
  echo "robot browser test: $missing is not installed"
  [ -n "${STATS_REQUIRE_BROWSER:-}" ] && exit 1
  exit 77
fi
exec "$node" "$(dirname "$0")/browser_test.js" "$modules" "$@"
