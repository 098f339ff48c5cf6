// Fontconfig keeps its configuration for the life of the process, and the widget tests'
// application is never destroyed, so the leak checker of sanitised builds would report those
// blocks after every test run. Our own leaks are still reported.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
