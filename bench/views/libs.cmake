set(BENCH_LIBS_views brivet_views Qt6::Test)
