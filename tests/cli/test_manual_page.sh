# The manual page voxacurve.1 names every command and option that
# `voxacurve --help` names, so a new option cannot go undocumented.
source "$(dirname "$0")/lib.sh"

page=$(dirname "$0")/../../packaging/voxacurve.1
[ -f "$page" ] || fail "no manual page $page"

run --help
expect_rc 0 "--help"
commands=$(sed -n 's/^ *voxacurve \([a-z]*\).*/\1/p' <<<"$OUT" | sort -u)
options=$(grep -oE '(^|[][ |])--?[a-zA-Z0-9][a-zA-Z0-9-]*' <<<"$OUT" | sed 's/^[][ |]//' | sort -u)
[ "$(wc -l <<<"$commands")" -ge 6 ] || fail "too few commands read from --help: $commands"
[ "$(wc -l <<<"$options")" -ge 20 ] || fail "too few options read from --help: $options"

# The page's text with its escapes for the minus and the fonts undone.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\&//g' "$page")
missing=()
for command in $commands; do
    # A command has its own entry: a tagged paragraph headed by its name.
    grep -qE "^\.B $command\$" <<<"$text" || missing+=("command $command")
done
for option in $options; do
    grep -qE -- "(^|[^a-zA-Z0-9-])$option([^a-zA-Z0-9-]|\$)" <<<"$text" || missing+=("option $option")
done
[ ${#missing[@]} = 0 ] || fail "voxacurve.1 does not describe: ${missing[*]}"
echo "manual page: $(wc -w <<<"$commands") commands and $(wc -w <<<"$options") options described"
