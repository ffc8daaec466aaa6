#!/usr/bin/env bash
# plumctl run as a user runs it: against `plumctl simulate` on a pseudo-terminal
# mapped in SYSTEM.CFG [Ports]. Usage: plumctl_cli.sh PATH-TO-PLUMCTL
set -uo pipefail
ctl=${1:?plumctl path}
work=$(mktemp -d)
sims=()
cleanup() { for p in "${sims[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done; rm -rf "$work"; }
trap cleanup EXIT
failures=0
passes=0
check() { # name, condition result
  if [ "$2" -eq 0 ]; then passes=$((passes + 1)); else failures=$((failures + 1)); echo "FAILED: $1" >&2; fi
}
start_sim() { # link path, extra options
  local link=$1; shift
  "$ctl" simulate --link "$link" "$@" 2>>"$work/sim.log" &
  sims+=($!)
  for _ in $(seq 100); do [ -e "$link" ] && return 0; sleep 0.05; done
  echo "simulator did not start" >&2; return 1
}
home_with_port() { # dir, COM2 device
  mkdir -p "$1"
  printf '[Comm]\r\nPort=2\r\nBaudRate=0\r\n[Ports]\r\nCOM2=%s\r\n' "$2" >"$1/SYSTEM.CFG"
}

# --- test against a simulated register
h=$work/ok; home_with_port "$h" "$work/tty-ok"; start_sim "$work/tty-ok"
"$ctl" --home "$h" test 2>"$work/err"; rc=$?
check "test succeeds" $((rc != 0))
check "test prints its steps" "$(grep -qx 'Connect...' "$work/err" && grep -qx 'Disconnect...' "$work/err"; echo $?)"
check "DEBUG.LOG holds the session" "$(grep -q '>>>>>>Receive data<<<<<<<<' "$h/DEBUG.LOG"; echo $?)"

# --- setting reads and writes [Comm]
out=$("$ctl" --home "$h" setting); check "setting prints what it read" "$([ "$out" = $'Port=2\nBaudRate=0' ]; echo $?)"
"$ctl" --home "$h" setting --port 3 --baud 4 >/dev/null
check "setting writes Port and BaudRate" "$(grep -q $'^Port=3\r$' "$h/SYSTEM.CFG" && grep -q $'^BaudRate=4\r$' "$h/SYSTEM.CFG"; echo $?)"
"$ctl" --home "$h" setting --port 9 >/dev/null 2>&1; rc=$?
check "setting refuses a bad port with exit 2" $((rc != 2))

# --- a register that answers only at 38400 is found on attempt 3
h=$work/hunt; home_with_port "$h" "$work/tty-hunt"; start_sim "$work/tty-hunt" --answer-speeds 38400
"$ctl" --home "$h" test 2>/dev/null; rc=$?
check "hunt finds the register" $((rc != 0))
check "hunt needs attempts 1 to 3" "$(grep -q '^Retry:3' "$h/DEBUG.LOG" && ! grep -q '^Retry:4' "$h/DEBUG.LOG"; echo $?)"

# --- Ctrl+C cancels the command: exit 130
h=$work/cancel; home_with_port "$h" "$work/tty-silent"; start_sim "$work/tty-silent" --silent
"$ctl" --home "$h" test 2>/dev/null & pid=$!
sleep 1; kill -INT $pid; wait $pid; rc=$?
check "SIGINT cancels with 130" $((rc != 130))

# --- no register: 21 attempts, then the error and exit 1
h=$work/none; home_with_port "$h" "$work/tty-silent"
"$ctl" --home "$h" test 2>"$work/err"; rc=$?
check "no register fails with 1" $((rc != 1))
check "no register shows Connect...Error!" "$(tail -n 1 "$work/err" | grep -qx 'Connect...Error!'; echo $?)"
check "21 connect transmissions" "$([ "$(grep -c '^>>>>>>Send data' "$h/DEBUG.LOG")" -eq 21 ]; echo $?)"

# --- a port that cannot be opened
h=$work/absent; home_with_port "$h" "$work/no-such-device"
"$ctl" --home "$h" test 2>"$work/err"; rc=$?
check "absent port fails with 1" $((rc != 1))
check "absent port message" "$(grep -q '^Error opening COM2!' "$work/err" && grep -q 'please select other ports.' "$work/err"; echo $?)"

# --- master data: download from an item file set, upload into another, same lines
h=$work/items; home_with_port "$h" "$work/tty-items"; start_sim "$work/tty-items"
sed -i 's/^BaudRate=0/BaudRate=4/' "$h/SYSTEM.CFG"
printf 'MILK\t2\t1.25\t5901234123457\t0\t0.000\t0.000\t0.00\r\nBREAD\t1\t2.50\t456\t1\t0.000\t0.000\t0.00\r\n' >"$h/a.PLU"
printf 'FOOD\t1\t1\t0\t1.50\t0.000\t0.00\r\nDRINKS\t0\t3\t1\t0.99\t0.000\t0.00\r\n' >"$h/a.DEP"
{ printf '1\t0.25\t123\t0\t0.00\t0\t0.00\r\n'; for i in $(seq 2 50); do printf '\t0.00\t0\t0\t0.00\t0\t0.00\r\n'; done; } >"$h/a.RCY"
for kind in plu department recycling; do
  "$ctl" --home "$h" download $kind --items "$h/a.PLU" --to 10 2>"$work/err"; rc=$?
  check "download $kind succeeds" $((rc != 0))
done
check "download prints the step texts" "$(grep -qx 'Download recycling...' "$work/err" && tail -n 1 "$work/err" | grep -qx 'Disconnect...'; echo $?)"
"$ctl" --home "$h" upload plu,department,recycling --items "$h/b.PLU" --to 10 2>/dev/null; rc=$?
check "upload succeeds" $((rc != 0))
check "PLUs come back as sent" "$(cmp -s "$h/a.PLU" "$h/b.PLU"; echo $?)"
check "departments come back as sent" "$(cmp -s "$h/a.DEP" "$h/b.DEP"; echo $?)"
check "recycling comes back as sent" "$(head -n 1 "$h/b.RCY" | grep -q $'^1\t0.25\t123\t'; echo $?)"

# --- refusals and failures
printf 'SAME\t1\t1.00\t1\t0\t0.000\t0.000\t0.00\r\nSAME\t1\t1.00\t2\t0\t0.000\t0.000\t0.00\r\n' >"$h/twice.PLU"
rm -f "$h/DEBUG.LOG"
"$ctl" --home "$h" download plu --items "$h/twice.PLU" 2>"$work/err"; rc=$?
check "name repeat fails with 1" $((rc != 1))
check "name repeat message" "$(grep -qx 'PLU name repeat: No. 1 and No. 2' "$work/err"; echo $?)"
check "name repeat never opens the port" "$([ ! -e "$h/DEBUG.LOG" ]; echo $?)"
"$ctl" --home "$h" download plu --from 20 --to 10 >/dev/null 2>&1; rc=$?
check "a bad range exits 2" $((rc != 2))

h=$work/pending; home_with_port "$h" "$work/tty-pending"; start_sim "$work/tty-pending" --changes-pending --reports-not-cleared
"$ctl" --home "$h" download department 2>"$work/err"; rc=$?
check "pending changes refuse the download" $((rc != 1))
check "pending changes come first" "$(tail -n 1 "$work/err" | grep -qx 'Please print changes report!'; echo $?)"
cp "$work/items/b.PLU" "$h/keep.PLU"
"$ctl" --home "$h" upload plu --items "$h/keep.PLU" --to 3 2>/dev/null; rc=$?
check "an upload ignores the report flags" $((rc != 0))

h=$work/mute; home_with_port "$h" "$work/tty-mute"; start_sim "$work/tty-mute" --silent-after 3
cp "$work/items/b.PLU" "$h/keep.PLU"; cp "$h/keep.PLU" "$h/before.PLU"
"$ctl" --home "$h" upload plu --items "$h/keep.PLU" --to 20 2>"$work/err"; rc=$?
check "a register gone silent fails the upload" $((rc != 1))
check "the step's error text" "$(tail -n 1 "$work/err" | grep -qx 'Upload PLU...Error!'; echo $?)"
check "a failed upload leaves the files" "$(cmp -s "$h/keep.PLU" "$h/before.PLU"; echo $?)"

h=$work/slow; home_with_port "$h" "$work/tty-slow"; start_sim "$work/tty-slow" --late 600
"$ctl" --home "$h" upload plu --items "$h/new.PLU" 2>/dev/null & pid=$!
sleep 2; kill -INT $pid; wait $pid; rc=$?
check "SIGINT cancels an upload with 130" $((rc != 130))
check "a cancelled upload writes no files" "$([ ! -e "$h/new.PLU" ]; echo $?)"

# --- usage
"$ctl" frobnicate >/dev/null 2>&1; rc=$?; check "unknown command exits 2" $((rc != 2))
"$ctl" --help | grep -q 'plumctl \[--home DIR\] test'; check "help lists the commands" $?

# --- detect: the register on COM3 only
h=$work/detect; mkdir -p "$h"
printf '[Comm]\r\nPort=1\r\nBaudRate=2\r\n[Ports]\r\nCOM1=%s\r\nCOM2=%s\r\nCOM3=%s\r\nCOM4=%s\r\n' \
  "$work/no-dev1" "$work/no-dev2" "$work/tty-det" "$work/no-dev4" >"$h/SYSTEM.CFG"
start_sim "$work/tty-det"
cp "$h/SYSTEM.CFG" "$work/cfg-before"
out=$("$ctl" --home "$h" detect 2>"$work/err"); rc=$?
check "detect finds the register" $((rc != 0))
check "detect prints one line per port tried" "$([ "$out" = $'COM1 : No kodo found.\nCOM2 : No kodo found.\nCOM3 : Kodo found!' ]; echo $?)"
check "detect asks the question" "$(grep -qx 'Port found! Do you want to apply it?' "$work/err"; echo $?)"
check "detect without --apply leaves SYSTEM.CFG" "$(cmp -s "$h/SYSTEM.CFG" "$work/cfg-before"; echo $?)"
check "detect leaves an empty DEBUG.LOG" "$([ -f "$h/DEBUG.LOG" ] && [ ! -s "$h/DEBUG.LOG" ]; echo $?)"
"$ctl" --home "$h" detect --apply >/dev/null 2>&1; rc=$?
out=$("$ctl" --home "$h" setting)
check "detect --apply stores Port=3 only" "$([ $rc -eq 0 ] && [ "$out" = $'Port=3\nBaudRate=2' ]; echo $?)"

# --- detect with no register anywhere
h=$work/detect-none; mkdir -p "$h"
printf '[Ports]\r\nCOM1=%s\r\nCOM2=%s\r\nCOM3=%s\r\nCOM4=%s\r\n' "$work/n1" "$work/n2" "$work/n3" "$work/n4" >"$h/SYSTEM.CFG"
out=$("$ctl" --home "$h" detect 2>/dev/null); rc=$?
check "detect without a register fails with 1" $((rc != 1))
check "detect tries all four ports" "$([ "$(grep -c ': No kodo found.$' <<<"$out")" -eq 4 ]; echo $?)"

# --- Ctrl+C during detection: the port under test keeps "Testing...", no further port is tried
h=$work/detect-cancel; mkdir -p "$h"
printf '[Ports]\r\nCOM1=%s\r\nCOM2=%s\r\n' "$work/tty-det-silent" "$work/n2" >"$h/SYSTEM.CFG"
start_sim "$work/tty-det-silent" --silent
"$ctl" --home "$h" detect >"$work/out" 2>"$work/err" & pid=$!
sleep 1; kill -INT $pid; wait $pid; rc=$?
check "detect cancelled by SIGINT exits 130" $((rc != 130))
check "detect cancelled leaves COM1 testing" "$([ "$(cat "$work/out")" = 'COM1 : Testing...' ] && ! grep -q COM2 "$work/err"; echo $?)"

# --- dump: raw memory pages into TEMP.BIN and TEMP.LOG
h=$work/dump; home_with_port "$h" "$work/tty-dump"; start_sim "$work/tty-dump"
out=$("$ctl" --home "$h" dump 0 8 2>"$work/err"); rc=$?
check "dump succeeds and prints TEMP.LOG's path" "$([ $rc -eq 0 ] && [ "$out" = "$h/TEMP.LOG" ]; echo $?)"
check "dump steps" "$([ "$(cat "$work/err")" = $'Connect...\nReceive Data...\nDisconnect...' ]; echo $?)"
check "dump TEMP.BIN is 2048 bytes" "$([ "$(stat -c %s "$h/TEMP.BIN")" -eq 2048 ]; echo $?)"
check "dump TEMP.LOG has 128 lines of 74 characters" \
  "$([ "$(LC_ALL=C grep -ac $'^[0-9a-f]\{8\}  .*\r$' "$h/TEMP.LOG")" -eq 128 ] && [ "$(stat -c %s "$h/TEMP.LOG")" -eq $((128 * 76)) ]; echo $?)"
check "dump last line starts 000007f0" "$(tail -n 1 "$h/TEMP.LOG" | LC_ALL=C grep -aq '^000007f0  '; echo $?)"
check "dump reads ROM by default" "$(head -n 1 "$h/TEMP.LOG" | LC_ALL=C grep -aq 'ROM PAGE 0000'; echo $?)"
"$ctl" --home "$h" dump 1F 1 --ram >/dev/null 2>&1
check "dump --ram reads RAM at the hexadecimal base" "$(head -n 1 "$h/TEMP.LOG" | LC_ALL=C grep -aq '^00001f00  .*RAM PAGE 001F'; echo $?)"
"$ctl" --home "$h" dump 0 0 >/dev/null 2>&1; rc=$?
check "dump of 0 pages leaves both files empty" "$([ $rc -eq 0 ] && [ ! -s "$h/TEMP.BIN" ] && [ -f "$h/TEMP.LOG" ] && [ ! -s "$h/TEMP.LOG" ]; echo $?)"
for bad in "G 8" "12345 1" "FFFF 2" "0 -1" "0"; do
  "$ctl" --home "$h" dump $bad >/dev/null 2>&1; rc=$?
  check "dump refuses '$bad' with exit 2" $((rc != 2))
done

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
