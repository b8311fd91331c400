#include "medicion.h"

#include <QVector>
#include <algorithm>
#include <cstdio>
#include <ctime>

double cpuMs()
{
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

double hiloMs()
{
    timespec t;
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double medianMs(int runs, const std::function<void()> &work)
{
    QVector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = cpuMs();
        work();
        times << cpuMs() - start;
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

void report(const char *what, double ms, const char *goal)
{
    std::printf("%-58s %9.2f ms %s\n", what, ms, goal);
    std::fflush(stdout);
}
