// Linked into every program of the sanitizer build. Third-party libraries
// (Qt WebEngine above all) keep some allocations until the process ends;
// LeakSanitizer reports only our own leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6WebEngineCore\n"
           "leak:libQt6Core\n"
           "leak:libQt6Gui\n"
           "leak:libfontconfig\n"
           "leak:libudev\n";
}

// Qt WebEngine's Chromium frees some objects through a base of another size;
// that mismatch is inside the library and not ours to report.
extern "C" const char* __asan_default_options()
{
    return "new_delete_type_mismatch=0";
}
