# Empties (or makes) the folder DIR: the fuzzer's scratch corpus before a timed run.
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")
