// Runs a command and writes its wall time, its CPU time (user and system,
// with its children) and its peak resident set size to a file, as
// "SECONDS CPU_SECONDS PEAK_RSS_KIB". The command starts from this small
// program, so its peak is not that of a large parent it was forked from.
//   bench_package_run RESULT_FILE COMMAND [ARGUMENT...]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>

extern char **environ;

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_package_run RESULT_FILE COMMAND [ARGUMENT...]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    pid_t child;
    if (posix_spawnp(&child, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::perror(argv[2]);
        return 127;
    }
    int status = 0;
    struct rusage usage;
    if (wait4(child, &status, 0, &usage) != child)
        return 127;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (std::FILE *result = std::fopen(argv[1], "w")) {
        std::fprintf(result, "%.6f %.6f %ld\n", wall, cpu, usage.ru_maxrss);
        std::fclose(result);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
