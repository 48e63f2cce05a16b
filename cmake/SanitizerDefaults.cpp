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
