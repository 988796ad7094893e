#!/bin/bash
# Stand-in for the compress backend in the window tests: the same as the
# sorter's stand-in, whose "compress" behaves like its "sort".
exec /bin/bash "$(dirname -- "${BASH_SOURCE[0]}")/sorter_backend.sh" "$@"
