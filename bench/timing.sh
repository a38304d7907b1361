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
cpu_line() {  # the model, its flags (which code a library picks depends on them) and the load
  echo "CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //') ($(nproc) cores)"
  echo "CPU flags: $(grep -m1 '^flags' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
  echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
}
