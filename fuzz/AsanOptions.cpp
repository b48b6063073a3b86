// AddressSanitizer's defaults for every target. The readers allocate a tile set per input and the
// Tiled map importer layers of 4 MiB; with the default 256 MiB quarantine nearly every allocation
// lands on pages never touched, and page faults took a third of the time. 16 MiB still holds
// many inputs' worth of freed memory.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}
