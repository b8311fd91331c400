#ifndef MEDICION_H
#define MEDICION_H

#include <functional>

// Processor time of this process: the machine running the benchmarks is often
// shared, and wall-clock time would measure the neighbours too.
double cpuMs();
// Processor time of the calling thread alone: the window's work, without
// what the link's thread does meanwhile.
double hiloMs();
// Median processor time of runs calls of work.
double medianMs(int runs, const std::function<void()> &work);
// One result line: what, the time, and the goal it answers to.
void report(const char *what, double ms, const char *goal = "");

#endif // MEDICION_H
