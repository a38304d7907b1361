# What the command-line benchmarks share: a run's time, the median of many, a ratio, the machine.
# Sourced, not run.

microseconds() {  # of running "$@" once, its output discarded
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || true  # the exit status says what was found, not whether it ran
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
median() { sort -n | awk '{v[NR] = $1} END {printf "%.1f", v[int((NR + 1) / 2)] / 1000}'; }  # in ms
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
cpu_line() { echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //') ($(nproc) cores)"; }
# The flags that the digests and LZMA decoding may use, of those the CPU has.
cpu_flags() { echo "CPU flags: $(grep -m1 '^flags' /proc/cpuinfo | tr ' ' '\n' | grep -xE 'sse4_1|sse4_2|ssse3|avx|avx2|avx512f|bmi2|sha_ni' | tr '\n' ' ')"; }
