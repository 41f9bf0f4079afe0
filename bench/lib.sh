# Sourced by the benchmark scripts: where the programs are, the Wine set-up, and one way of
# printing a result row: "figure, baseline, ratio, goal" (the goal is the highest ratio).
bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The benchmarks' own build trees; the default trees build/<preset> belong to scripts/build.
BENCH_TREE=${BENCH_TREE:-$bench_root/build/bench-x64-32}
BENCH_TREE32=${BENCH_TREE32:-$bench_root/build/bench-win32}
export WINEPREFIX=${WINEPREFIX:-$bench_root/build/wp-bench}
BENCH_TABLE=${BENCH_TABLE:-/dev/null}

# Builds the benchmark trees (incremental): an x86_64 build of the 32 edition's behaviour with
# the benchmark programs (timings of the i686 build under QEMU's emulation would measure the
# emulator), and the i686 edition's SetUp.exe and bare dialog for the footprint. No post-build
# copy into dist/.
bench_build() {
    cd "$bench_root" &&
        cmake --preset win64 -B "$BENCH_TREE" -DPLATFORM_BITS=32 -DEDITION_DIR= >/dev/null &&
        cmake --build "$BENCH_TREE" -j2 --target SetUp bare_dialog bench_startup_timer \
            bench_discovery_scaling bench_deploy_copy TorlenUserSetup bare_program bench_logon_cost >/dev/null &&
        cmake --preset win32 -B "$BENCH_TREE32" -DEDITION_DIR= >/dev/null &&
        cmake --build "$BENCH_TREE32" -j2 --target SetUp bare_dialog >/dev/null &&
        cd - >/dev/null
}

# Wine (quiet, code page 936) and, when there is no display, a private Xvfb; the wineserver
# stays up for the whole script.
bench_wine() {
    . "$bench_root/scripts/lib/wine-env.sh"
    . "$bench_root/scripts/lib/xvfb.sh"
    start_xvfb
    wineserver -p 2>/dev/null || true
    trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
}

bench_header() {
    printf '%-62s %10s %10s %7s %6s  %s\n' "figure" "value" "baseline" "ratio" "goal" "verdict"
}

# label, figure, baseline, goal: prints the row and appends it to $BENCH_TABLE.
bench_row() {
    local row
    row=$(awk -v label="$1" -v figure="$2" -v baseline="$3" -v goal="$4" 'BEGIN {
        ratio = baseline > 0 ? figure / baseline : 0
        verdict = goal == "-" ? "(no goal)" : ratio <= goal + 0 ? "ok" : "over goal"
        shown = goal == "-" ? "-" : goal "x"
        printf "%-62s %10s %10s %6.2fx %6s  %s\n", label, figure, baseline, ratio, shown, verdict }')
    echo "$row"
    echo "$row" >>"$BENCH_TABLE"
}

# Turns the "row|label|figure|baseline|goal" lines of a benchmark program into rows; other
# lines are shown as they are.
bench_rows_from() {
    local line label figure baseline goal
    while IFS= read -r line; do
        line=${line%$'\r'}
        if [[ $line == row\|* ]]; then
            IFS='|' read -r _ label figure baseline goal <<<"$line"
            bench_row "$label" "$figure" "$baseline" "$goal"
        else
            echo "  $line"
        fi
    done
}
