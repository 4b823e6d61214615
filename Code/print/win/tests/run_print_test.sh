#!/usr/bin/env bash
# Runs the printing test: makes sure the "PDF" queue is served (cupsd and
# cups-pdf, see ../pdf_queue.sh), then the test program under Wine as every
# GUI test runs. Without the queue the test skips, naming what is missing.
#   run_print_test.sh RUNNER PROGRAM.exe [ARGS...]
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
runner="$1"
shift
bash "$here/../pdf_queue.sh" >/dev/null || echo "run_print_test: no PDF queue; the printing tests skip" >&2
exec bash "$runner" "$@"
