// Loaded into the program with LD_PRELOAD: as the process exits, writes its
// peak resident memory in KiB (VmHWM) to the file LISTSIFT_PEAK_FILE names.
// The kernel's own accounting for a child also counts the memory of the
// process that forked it, so the child must report for itself.
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

__attribute__((destructor)) void report_peak()
{
    const char *target = std::getenv("LISTSIFT_PEAK_FILE");
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (target == nullptr || status == nullptr)
        return;
    char line[256];
    long peak = -1;
    while (std::fgets(line, sizeof line, status) != nullptr)
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            peak = std::strtol(line + 6, nullptr, 10);
    (void)std::fclose(status);
    if (std::FILE *out = std::fopen(target, "w")) {
        (void)std::fprintf(out, "%ld\n", peak);
        (void)std::fclose(out);
    }
}

} // namespace
