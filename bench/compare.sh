#!/usr/bin/env bash
# Side-by-side timedemo: builds an older commit beside the working tree and
# runs the two timedemos alternately, A B A B, so that both see the same
# machine load; then prints each one's median frames a second and the ratio.
#
#   bench/compare.sh [--rounds N] [--workers "1 8"] [--frames "0 2400"] [--pinned] BASELINE_COMMIT
#
# --frames 0 is the whole show (up to the finale); any other N is its first N
# frames. --pinned runs A and B at the same time instead, each confined to a
# core of its own, and swaps the two cores every round: on a shared host
# whose load moves from minute to minute both then see the same moment, and
# the ratios spread far less. It needs two cores and measures what one core
# does: several workers share it.
#
# The working tree is built as it stands, uncommitted changes included, the
# way scripts/run.sh builds it (scripts/build-optimized.sh); the baseline the
# way its own run.sh did: a plain Release build, or an optimised one where it
# already had that script.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=5
workers_list="1 8"
frames_list="0 2400"
pinned=0
while [ $# -gt 1 ]; do
    case "$1" in
        --rounds) rounds="$2"; shift 2 ;;
        --workers) workers_list="$2"; shift 2 ;;
        --frames) frames_list="$2"; shift 2 ;;
        --pinned) pinned=1; shift ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
if [ $# -ne 1 ]; then
    echo "usage: bench/compare.sh [--rounds N] [--workers \"1 8\"] [--frames \"0 2400\"] [--pinned] BASELINE_COMMIT" >&2
    exit 2
fi
if ! baseline="$(git rev-parse --verify --quiet "$1^{commit}")"; then
    echo "bench/compare.sh: $1 names no commit" >&2
    exit 2
fi
jobs="$(nproc)"
if [ "$pinned" = 1 ]; then
    # The first two cores this script may run on.
    read -r -a cores <<<"$(python3 -c 'import os; print(*sorted(os.sched_getaffinity(0))[:2])')"
    if [ "${#cores[@]}" -lt 2 ]; then
        echo "bench/compare.sh: --pinned needs two cores; this process may use ${#cores[@]}" >&2
        exit 2
    fi
fi

build() { # source folder, build folder
    if [ -x "$1/scripts/build-optimized.sh" ]; then
        "$1/scripts/build-optimized.sh" "$2" "$1" >/dev/null
        return
    fi
    cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DQUORVALITE_BUILD_TESTS=OFF -DQUORVALITE_BUILD_BENCH=OFF >/dev/null
    cmake --build "$2" -j "$jobs" --target quorvalite >/dev/null
}

base_tree="build-compare/baseline-${baseline:0:12}"
if [ ! -d "$base_tree" ]; then
    echo "== Checking out the baseline ${baseline:0:12} into $base_tree"
    git worktree add --detach "$base_tree" "$baseline" >/dev/null
fi
echo "== Building the baseline (A) and the working tree (B)"
build "$base_tree" "$base_tree/build"
build . build-compare/current
a="$base_tree/build/quorvalite"
b="build-compare/current/quorvalite"

results="$(mktemp)"
trap 'rm -f "$results" "$results.A" "$results.B"' EXIT

timedemo() { # program, workers, core (empty: any), frame arguments...; prints frames a second
    local program="$1" workers="$2" core="$3"
    shift 3
    local run=("$program" --bench --workers "$workers" "$@" --json)
    [ -n "$core" ] && run=(taskset -c "$core" "${run[@]}")
    "${run[@]}" 2>/dev/null | python3 -c '
import json, sys
try:
    print(json.load(sys.stdin)["frames_per_second"])
except ValueError:
    sys.exit(f"bench/compare.sh: {sys.argv[1]} gave no figures (run it with the same options to see why)")
' "${run[*]}"
}

for workers in $workers_list; do
    for frames in $frames_list; do
        frame_args=()
        [ "$frames" != 0 ] && frame_args=(--frames "$frames")
        for round in $(seq "$rounds"); do
            if [ "$pinned" = 1 ]; then
                # A on the first core in odd rounds, on the second in even ones.
                core_a="${cores[$(((round + 1) % 2))]}" core_b="${cores[$((round % 2))]}"
                timedemo "$a" "$workers" "$core_a" "${frame_args[@]}" >"$results.A" &
                # A failed B still waits for A, so that no timedemo outlives the script.
                timedemo "$b" "$workers" "$core_b" "${frame_args[@]}" >"$results.B" || { wait; exit 1; }
                wait $!
                fps_a="$(cat "$results.A")" fps_b="$(cat "$results.B")"
            else
                fps_a="$(timedemo "$a" "$workers" "" "${frame_args[@]}")"
                fps_b="$(timedemo "$b" "$workers" "" "${frame_args[@]}")"
            fi
            for side in A B; do
                fps="$fps_a"
                [ "$side" = B ] && fps="$fps_b"
                echo "$workers $frames $side $fps" >>"$results"
                echo "   workers $workers, frames ${frames/#0/all}, round $round, $side: $fps frames/s"
            done
        done
    done
done

python3 - "$results" "${baseline:0:12}" "$pinned" <<'EOF'
import statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
together = "at the same time, each on a core of its own" if sys.argv[3] == "1" else "one after the other"
print(f"\nA = baseline {sys.argv[2]}, B = working tree, run {together}; medians of the rounds:\n")
print("| workers | frames | A frames/s | B frames/s | B / A | B / A in each round |")
print("|---|---|---|---|---|---|")
seen = []
for w, f, _, _ in rows:
    if (w, f) not in seen:
        seen.append((w, f))
for w, f in seen:
    runs_a = [float(r[3]) for r in rows if r[:3] == [w, f, "A"]]
    runs_b = [float(r[3]) for r in rows if r[:3] == [w, f, "B"]]
    a, b = statistics.median(runs_a), statistics.median(runs_b)
    # A and B of one round ran back to back (or together), under much the
    # same load: the spread of their ratios shows how far the host moved the medians.
    each = ", ".join(f"{rb / ra:.2f}" for ra, rb in zip(runs_a, runs_b))
    print(f"| {w} | {'whole show' if f == '0' else 'first ' + f} | {a:.1f} | {b:.1f} | {b / a:.2f} | {each} |")
EOF
