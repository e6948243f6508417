set(BENCH_LIBS_store brivet_library PkgConfig::SQLITE3)
