set(BENCH_LIBS_paperviews brivet_views brivet_testsupport Qt6::Test)
