#pragma once
// Timing for benchmarks that compare a small and a large input in the same run.
#include <malloc.h>

#include <ctime>

// CPU time of this thread, so that other work on the machine does not skew the ratios.
inline double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

template <class F>
double SecondsOf(F&& work) {
    const double start = ThreadSeconds();
    work();
    return ThreadSeconds() - start;
}

// By default large blocks go back to the system when freed and fault in again when next
// used, which only buffers of several megabytes pay; keeping them makes both sizes pay the
// same allocator costs, so the ratio shows the code's own scaling.
inline void KeepFreedMemory() {
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

#define SCALING_BENCHMARK_MAIN()                         \
    int main(int argc, char** argv) {                    \
        KeepFreedMemory();                               \
        benchmark::Initialize(&argc, argv);              \
        benchmark::RunSpecifiedBenchmarks();             \
        benchmark::Shutdown();                           \
        return 0;                                        \
    }
