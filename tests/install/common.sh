# Shared by the install checks: failing with a message, and skipping when a tool is missing.
fail() {
  echo "${0##*/}: $*" >&2
  exit 1
}

# need TOOL...: each must be installed (scripts/install-deps installs them); a run that must
# check everything (QUILLMERE_REQUIRE_PACKAGING_TOOLS=1, as scripts/test sets) fails without
# one, any other run is skipped (77).
need() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null && continue
    if [ "${QUILLMERE_REQUIRE_PACKAGING_TOOLS:-0}" = 1 ]; then
      fail "$tool is missing (scripts/install-deps installs it)"
    fi
    echo "${0##*/}: skipped, $tool is missing (scripts/install-deps installs it)" >&2
    exit 77
  done
}
