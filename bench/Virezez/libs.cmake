set(BENCH_LIBS_Virezez brivet_virezez Qt6::Widgets)
