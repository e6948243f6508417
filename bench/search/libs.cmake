set(BENCH_LIBS_search brivet_library brivet_platform PkgConfig::EXPAT)
