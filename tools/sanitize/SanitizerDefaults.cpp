// Built into every program, test and module of a PELLIX_SANITIZE build, so that
// the sanitizers behave the same under ctest, in the test scripts and by hand.
// ASAN_OPTIONS, UBSAN_OPTIONS and LSAN_OPTIONS in the environment still override.

extern "C" {

// Undefined behaviour fails the run like a memory error does, with its stack.
const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

// The runtime's __tls_get_addr hook takes some of glibc's dynamic TLS blocks
// (those that happen to start 16 bytes into a page) for the layout of glibc
// before 2.25 and reads a bogus range from in front of them; the leak check at
// exit then dies with "Tracer caught signal 11" now and then, in any test that
// ran Qt's threads. Without the hook, dynamic TLS is not scanned for pointers.
const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}

// Leaks in system libraries that no code of ours can free. Keep each narrow and
// say why it is there.
const char* __lsan_default_suppressions() {
    // Qt's xcb platform connects to the session bus; libdbus keeps one 1032-byte
    // buffer for the life of the process and never frees it. libdbus has no
    // frame pointers, so its own frame is all the stack shows.
    // Qt's Wayland platform leaves some of libwayland-client's proxies to the
    // end of the process (a second start that only hands its command over
    // ends at once); again the library's own frame is all the stack shows.
    return "leak:libdbus-1.so\n"
           "leak:libwayland-client.so\n";
}

} // extern "C"
