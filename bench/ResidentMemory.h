#pragma once
// What the benchmarks' memory figures measure: the process's resident set.

#include <cstdio>
#include <unistd.h>

// The resident set of this process, in KiB (0 when /proc cannot be read).
inline long residentKiB()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
