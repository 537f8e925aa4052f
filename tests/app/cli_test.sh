#!/usr/bin/env bash
# Runs `kurvaline --eval`, `--table`, `--value` and `--help` and checks exit
# status, stdout and stderr of each call. Usage: cli_test.sh PATH/TO/kurvaline
set -u
bin=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# expect STATUS STDOUT STDERR ARGS...
#   STDOUT: the exact output, or "~REGEX" to match it.
#   STDERR: the exact output, or USAGE for one line "kurvaline: ...".
expect() {
  local status=$1 out=$2 err=$3
  shift 3
  "$bin" "$@" >"$tmp/out" 2>"$tmp/err"
  local got=$? ok=1
  local gout gerr
  gout=$(cat "$tmp/out"; printf x); gout=${gout%x}
  gerr=$(cat "$tmp/err"; printf x); gerr=${gerr%x}
  [ "$got" -eq "$status" ] || ok=0
  if [ "${out:0:1}" = "~" ]; then
    [[ $gout =~ ${out:1} ]] || ok=0
  else
    [ "$gout" = "$out" ] || ok=0
  fi
  if [ "$err" = USAGE ]; then
    [ "$(printf %s "$gerr" | wc -l)" -eq 1 ] && [ "${gerr:0:11}" = "kurvaline: " ] || ok=0
  else
    [ "$gerr" = "$err" ] || ok=0
  fi
  if [ $ok -eq 0 ]; then
    failures=$((failures + 1))
    printf 'FAIL: kurvaline'; printf ' [%s]' "$@"; printf '\n'
    printf '  status %s (want %s)\n  stdout: %q\n  stderr: %q\n' "$got" "$status" "$gout" "$gerr"
  fi
}

msg0=$'Ungültiger Ausdruck.\nKein Tippfehler?\nNur erlaubte Rechenoperatoren verwendet?\nBitte Syntax überprüfen\n'
msg3=$'Funktionsterm zu lang\n'
msg5=$'Syntaxfehler.\nFehlerhafte Klammerung\n'
msg8=$'Eingabefehler.\nHier darf keine Differentialgleichung eingegeben werden\n'
msg25=$'Polarkoordinaten-Funktion hier nicht erlaubt\n'

# Values, one line per formula, %.17g.
expect 0 $'9\n'                     ''  --eval 'x^2' --at 3
expect 0 $'2\n2\n5\n'               ''  --eval 'x;t;5' --at 2
expect 0 $'64\n'                    ''  --eval '2^3^2'
expect 0 $'0.30000000000000004\n'   ''  --eval '0.1+0.2'
expect 0 $'-6.2831853071795862\n'   ''  --eval '-2*pi'
expect 0 $'12\n'                    ''  --eval 'x²+x³' --at 2
expect 0 $'1\n'                     ''  --eval 'sin(90)' --deg
expect 0 $'undefined\n'             ''  --eval '1/x'
expect 0 $'undefined\n3\n'          ''  --eval 'sqrt(x);3' --at -1
expect 0 ''                         ''  --eval ''
expect 0 '~^(5\.99999|6\.0000)[0-9]*'$'\n''$' '' --eval 'x^2' --at 3 --derivative

# The panel decides limits and what may be entered.
expect 0 $'10000000000000\n'          '' --eval '123456789012345678'
expect 0 $'1.2345678901234568e+17\n'  '' --eval '123456789012345678' --panel value
expect 2 ''      "$msg8"                 --eval "y'=y" --at 0,2
expect 0 $'2\n'  ''                      --eval "y'=y" --at 0,2 --panel diffequ
expect 0 $'2\n'  ''                      --eval "y'=y" --at 0,2 --panel tablediffequ
expect 2 ''      "$msg8"                 --eval "y'=y" --panel table
expect 2 ''      "$msg25"                --eval 'r=3' --panel integral
expect 0 $'3\n'  ''                      --eval 'r=3' --panel function

# Equations print the difference of their sides, pairs their point; both are
# forms of the function panel only, and y beside x asks for a relation.
expect 0 $'9\n'                   '' --eval 'y=x^2' --at 3
expect 0 $'-4\n'                  '' --eval 'x^2+y^2=9' --at 1,2
expect 0 $'2\t4\n'                '' --eval '(t, t^2)' --at 2
expect 0 $'-1\t1\nundefined\t2\n'  '' --eval '(t, t^2);(sqrt(t), 2)' --at -1
expect 2 '' $'Ungültige Gleichung.\nNur ein \'=\', \'<\', \'>\', \'<=\' oder \'>=\' pro Funktion erlaubt\n' --eval 'x<y<1'
expect 2 '' $'Ungültiger Term.\nx und y zusammen nur in einer Gleichung oder Ungleichung,\nz. B. x^2+y^2=9 oder y>sin(x)\n' --eval 'x^2+y^2'
expect 2 '' "$msg0" --eval 'x=1' --panel integral

# A rejected formula prints nothing on stdout, also when others were fine.
expect 2 '' "$msg5" --eval 'x;(x'
expect 2 '' "$msg0" --eval 'x;max(1)'
expect 2 '' "$msg0" --eval 'sin x'
expect 2 '' "$msg0" --eval '2π'
expect 2 '' $'Syntaxfehler:\nUngültiges Komma. Dezimaltrennzeichen ist der Punkt\n' --eval '3,5x'

# One random sequence for the whole run, not one per formula.
expect 0 $'0.0012512588885158849\n0.56358531449324012\n' '' --eval 'rand;rand'

# The length limit: 513 operations.
long=x; for _ in $(seq 513); do long+=+x; done
expect 2 ''         "$msg3" --eval "$long"
expect 0 $'514\n'   ''      --eval "$long" --at 1 --no-length-limit

# Numeric input fields.
expect 0 $'6.2831853071795862\n' '' --panel field --eval '2pi'
expect 0 $'2\n'                  '' --panel field --eval 'x+1'
expect 2 '' "$msg0"                 --panel field --eval ''
expect 2 '' "$msg0"                 --panel field --eval '1;2'
expect 2 '' $'Ungültige Eingabe: ergibt undefinierten Wert\n' --panel field --eval '1/0'

# Value tables and single values, as the calculator windows show them.
expect 0 $'x\ty\ty\'\n0\t0\t0\n0.3\t0.09\t0.6\n0.6\t0.36\t1.2\n0.9\t0.81\t1.8\n1\t1\t2\n' '' \
  --table 'x^2' --x-min 0 --x-max 1 --step 0.3
expect 0 $'x\ty\ty\'\n-1\t-1\t-3\n0\tError\tError\n1\t1\t-3\n' '' --table '1/x^3' --x-min -1 --x-max 1 --step 2/2
expect 0 $'x\ty\n2\t0\t\n0\t2\t\n' '' --table 'r=2' --x-min 0 --x-max pi/2 --step pi/2
expect 0 $'x\ty\ty\'\n0\t1\t1\n0.5\t1.64872\t1.64872\n1\t2.71828\t2.71828\n' '' \
  --table "y'=y" --x-min 0 --x-max 1 --step 0.5 --start 0 --start 1
expect 0 '~^x.y.y.'$'\n''-6.-5.68077.8.24444'$'\n' '' --table "y'''' = -4y - 5y''" --high-precision
expect 0 $'x\ty\ty\'\n7.2\t4.38013\t-5.10606\n' '' --value 'x*cos(x)'
expect 0 $'x\ty\ty\'\n90\t1\t0\n' '' --value 'sin(x)' --x 90 --deg
expect 0 '' '' --table ''
[ "$("$bin" --table x --x-min 0 --x-max 10000 --step 1 | wc -l)" -eq 10002 ] ||
  { failures=$((failures + 1)); echo "FAIL: 10000 intervals"; }
"$bin" --table x >/dev/full 2>/dev/null
[ $? -eq 1 ] || { failures=$((failures + 1)); echo "FAIL: a failed write to stdout"; }
expect 2 '' $'Wertetabelle zu lang.\nWählen Sie eine größere x-Schrittweite,\noder verkleinern Sie die Differenz zwischen x min und x max\n' \
  --table x --x-min 0 --x-max 10000 --step 0.99
expect 2 '' $'Ungültige X-Schrittweite.\nMuss > 0.0 sein.\n' --table x --step 0
expect 2 '' $'Ungültige Funktion.\nHier dürfen nicht mehrere Funktionen eingegeben werden\n' --table 'x;x'
expect 2 '' $'Ungültiger Definitionsbereich von x.\nx min muss kleiner als x max sein\n' --table x --x-min 1 --x-max 1
expect 2 '' "$msg0" --table "y'=y" --start 0 --start ''
expect 2 '' "$msg8" --value "y'=y"
expect 1 '' USAGE --table x --start 0
expect 1 '' USAGE --table x --x 1
expect 1 '' USAGE --value x --step 1
expect 1 '' USAGE --table "y'=y" --start 1 --start 2 --start 3 --start 4 --start 5 --start 6 --start 7
expect 1 '' USAGE --table

# The curve discussion: header, one line per point sorted by x, German refusals.
head=$'Art\tFormel\tx\ty\tx von\tx bis\tStatus\n'
expect 0 "$head"$'Nullstelle\t1\t-1\t0\t-1\t-1\tbewiesen\nTiefpunkt\t1\t0\t-1\t0\t0\tbewiesen\ny-Achsenabschnitt\t1\t0\t-1\t0\t0\tbewiesen\nNullstelle\t1\t1\t0\t1\t1\tbewiesen\n' '' \
  --analyse 'x^2-1' --x-min -2 --x-max 2
expect 0 "~^${head}(.*"$'\n'')*Schnittpunkt'$'\t''1,2'$'\t''45'$'\t''0.7071[0-9]*'$'\t''44.99[0-9]*'$'\t''45.00[0-9]*'$'\t''bewiesen' '' \
  --analyse 'sin(x);cos(x)' --deg --x-min 0 --x-max 90
expect 0 "~^${head}(.*"$'\n'')*Unklar'$'\t''1'$'\t\t\t''-0.0[0-9e-]*'$'\t''0.0[0-9]*'$'\t''unsicher' '' \
  --analyse 'sin(1/x)' --x-min -1 --x-max 1 --budget 20
expect 0 "~^${head}Polstelle"$'\t''1'$'\t''0'$'\t\t''-[0-9.]*e-13'$'\t''[0-9.]*e-13'$'\t''bewiesen'$'\n''$' '' --analyse '1/x' --x-min -1 --x-max 2
expect 0 "~^${head}(.*"$'\n'')*Lücke'$'\t''1'$'\t''1'$'\t''2'$'\t''0.99[0-9]*'$'\t''1.0[0-9]*'$'\t''bewiesen' '' \
  --analyse '(x^2-1)/(x-1)' --x-min 0 --x-max 1.5
expect 0 "~^${head}(.*"$'\n'')*Sprung'$'\t''1'$'\t''0'$'\t''0'$'\t''-[0-9.]*e-1[34]'$'\t''[0-9.]*e-1[34]'$'\t''bewiesen' '' \
  --analyse 'sgn(x)' --x-min -1 --x-max 1
expect 0 "$head" '' --analyse ''
expect 2 '' "$msg25" --analyse 'x;r(t)=3'
expect 2 '' $'Ungültiger Term.\nNur x, aber nicht y als Variable erlaubt\n' --analyse 'x;x^2+y^2=9'
expect 2 '' $'Ungültiger Definitionsbereich von x.\nx min muss kleiner als x max sein\n' --analyse x --x-min 2 --x-max 2
expect 2 '' "$msg0" --analyse x --x-max 'x max'
expect 2 '' "$msg5" --analyse '(x'
expect 2 '' "$msg8" --analyse "y'=y"
expect 1 '' USAGE --analyse x --budget 0
expect 1 '' USAGE --analyse x --step 1
expect 1 '' USAGE --analyse

# Usage errors: one line, status 1.
expect 1 '' USAGE --bogus
# Without arguments the program starts its window; without a display it
# says so in one line instead of aborting.
DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM= expect 1 '' USAGE
expect 1 '' USAGE --eval
expect 1 '' USAGE --eval x --frobnicate
expect 1 '' USAGE --eval x --panel nonsense
expect 1 '' USAGE --eval x --panel
expect 1 '' USAGE --eval x --at 1,a
expect 1 '' USAGE --eval x --at 1,
expect 1 '' USAGE --eval x --at 1,2,3,4,5,6,7
expect 1 '' USAGE --eval x --panel field --at 1
expect 0 '~--eval TEXT.*--export.*--table TEXT.*--value TEXT.*--analyse TEXT' '' --help
expect 0 '~--eval TEXT' '' --eval x --help

# Output that cannot be written is a failure, for every mode that prints.
for args in "--help" "--eval x" "--analyse x"; do
  # shellcheck disable=SC2086
  "$bin" $args >/dev/full 2>"$tmp/err"
  got=$?
  if [ "$got" -ne 1 ] || ! grep -q "Ausgabe" "$tmp/err"; then
    failures=$((failures + 1))
    echo "FAIL: kurvaline $args >/dev/full: status $got, stderr $(cat "$tmp/err")"
  fi
done

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
