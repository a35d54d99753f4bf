# Every reader of outside bytes has a libFuzzer target fuzz/<name>_fuzz.cpp and a seed corpus
# tests/corpus/<name>/ that the normal test run replays.
set(VELVASTO_FUZZERS
  ini
  list
  cmdline
  handover
  rcp
  g36
  smf
  terminal
  control
)
