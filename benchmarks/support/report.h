#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace pos::bench {

double msSince(std::chrono::steady_clock::time_point start);

// Ends the run with `what` when an operation did not do what it should have: a benchmark
// of a broken path measures nothing.
void check(bool ok, const std::string& what);

// Times `runs` calls of `run`, after `warmUp` calls that are not counted (the first
// statements parse and fill caches).
std::vector<double> timeRuns(int runs, int warmUp, const std::function<void()>& run);

// One operation at one catalogue size: the terminal's own code, and the floor, the same
// statements issued straight through libpq or SQLCipher, prepared once, pipelined where
// the terminal could pipeline them. No floor: `floorMs` empty.
struct Measure {
    std::string mode;  // "Online", "Offline", or "-" when the working mode does not apply
    std::string operation;
    int goods = 0;
    std::vector<double> ms;
    std::vector<double> floorMs;
};

// What every benchmark program takes: [--csv FILE] [goods].
struct Options {
    int goods = 1000000;
    std::string csvPath;  // empty: no CSV
};
// Exits with a usage line on anything else.
Options parseOptions(int argc, char** argv);

class Report;

// What every program's main does: reads the options, runs the benchmark on the number of
// goods with a report to the CSV file, and turns a failure into a message and exit code 1:
// an exception, or a failure the test framework recorded (ADD_FAILURE and the like).
int runBenchmark(int argc, char** argv, const std::function<void(int goods, Report& report)>& run);

// Prints each measure as it comes and appends it to the CSV file, which gets its header
// when it is new or empty, so that several programs and sizes can fill one table.
class Report {
public:
    explicit Report(std::string csvPath);
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;
    ~Report();

    void add(const Measure& measure);

private:
    std::FILE* csv_ = nullptr;
    bool headerPrinted_ = false;
};

}  // namespace pos::bench
