#!/usr/bin/env bash
# The end-to-end scenarios; needs DISPLAY and WINEPREFIX (run it through scripts/with-wine.sh).
exec python3 "$(dirname "$0")/run_e2e.py" "$@"
