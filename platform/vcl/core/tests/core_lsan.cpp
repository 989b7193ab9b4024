// Leak-checker suppressions of the sanitized GUI core tests: the font library keeps its caches for the
// life of the process once Qt has loaded fonts.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}
