#!/bin/sh
# The help text that the manual page of a program with commands is made from: the
# program's own --help, then each command's --help where it says more than that.
# help2man runs this as "help-all.sh --help"; the program and its commands come from
# PAVLUNE_HELP_PROGRAM and PAVLUNE_HELP_COMMANDS; a program built for another machine runs
# under the command in PAVLUNE_HELP_EMULATOR (words split on spaces).
set -eu
emulator=${PAVLUNE_HELP_EMULATOR:-}
main=$($emulator "$PAVLUNE_HELP_PROGRAM" "$@")
printf '%s\n' "$main"
for command in $PAVLUNE_HELP_COMMANDS; do
    if text=$($emulator "$PAVLUNE_HELP_PROGRAM" "$command" "$@" 2>/dev/null) && [ "$text" != "$main" ]; then
        printf '\n%s\n' "$text"
    fi
done
