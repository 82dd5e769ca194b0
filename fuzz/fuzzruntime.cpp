// Linked into the libFuzzer programs only: the run-time settings that make an
// execution cheap without hiding faults.
#include <QThreadPool>

// Qt's raster engine hands large fills and copies to the global thread pool in
// slices and waits for them; on a machine whose cores are busy every hand-over waits
// for a scheduler slot, and a picture line then costs milliseconds. Without a global
// pool Qt does the same work on the calling thread. (This definition takes the place
// of Qt's in the program; Qt copes with a missing pool.)
QThreadPool *QThreadPool::globalInstance()
{
    return nullptr;
}

// AddressSanitizer: a 32 MB quarantine instead of 256 MB (a use after free is still
// caught while the freed block is among the last 32 MB freed, and the memory in use
// stays far below the 1 GB limit), and no filling of each new block: the stage's
// surfaces are hundreds of kilobytes. Leaks are not looked for: Qt keeps caches that
// live as long as the process. ASAN_OPTIONS set at run time still win.
//
// Allocation and free stacks of two frames: collecting thirty at every allocation was
// a quarter of the time of an input of the checker targets. A report still gives the
// whole stack of the bad access; a finding is replayed with the whole allocation
// stack by fuzz_replay of a sanitizer build, or with
// ASAN_OPTIONS=malloc_context_size=30.
extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=4:max_malloc_fill_size=0:detect_leaks=0:malloc_context_size=2";
}
