// Built into every program of a sanitized build: the sanitizer run time
// reads these defaults before its environment variables, which can still
// override each of them.
//
// intercept_tls_get_addr=0: with it on, the run time records each thread's
// dynamic TLS blocks (those of libraries loaded at run time, such as the
// software GL driver's code generator) and guesses their sizes.  A block that
// lands 16 bytes past a page boundary is taken for one with a size header in
// front, and the allocator's own chunk header there is read as that header;
// the exit-time leak check then scans a range starting near address zero
// and its tracer crashes.  Off, the blocks are found like any other heap
// memory reached from the thread's TLS, and the check sees the same pointers.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

// The system's D-Bus library, which SDL uses on a real display, keeps a
// block it never frees (about a kilobyte) until the process ends: the leak
// check would turn every exit into 1.  Only that library's own leaks are
// passed over.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
