# Sourced first by every script: with -h or --help as its first argument, the script prints
# its opening comment (the lines after the #! line up to the first line of code) and exits
# without doing anything else.
if [[ "${1:-}" == "-h" || "${1:-}" == "--help" ]]; then
  sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"
  exit 0
fi
