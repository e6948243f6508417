set(BENCH_LIBS_views brivet_views brivet_fixtures Qt6::Test)
