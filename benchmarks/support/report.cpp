#include "report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace pos::bench {
namespace {

// Nearest rank over sorted samples.
double quantile(const std::vector<double>& sorted, double fraction)
{
    return sorted[static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5)];
}

struct Figures {
    double median, p95, p99;
};

Figures figures(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {quantile(ms, 0.5), quantile(ms, 0.95), quantile(ms, 0.99)};
}

// Quoted when it holds a comma or a quote, as CSV readers expect.
std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

[[noreturn]] void usage(const char* program)
{
    std::fprintf(stderr, "usage: %s [--csv FILE] [goods, at least 1000]\n", program);
    std::exit(2);
}

}  // namespace

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void check(bool ok, const std::string& what)
{
    if (!ok)
        throw std::runtime_error(what);
}

std::vector<double> timeRuns(int runs, int warmUp, const std::function<void()>& run)
{
    for (int i = 0; i < warmUp; ++i)
        run();
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        ms.push_back(msSince(start));
    }
    return ms;
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    bool goodsGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--csv" && i + 1 < argc) {
            options.csvPath = argv[++i];
        } else if (!goodsGiven && !arg.empty() && arg[0] != '-') {
            char* end = nullptr;
            const long goods = std::strtol(arg.c_str(), &end, 10);
            if (*end != '\0' || goods < 1000 || goods > 100000000)
                usage(argv[0]);
            options.goods = static_cast<int>(goods);
            goodsGiven = true;
        } else {
            usage(argv[0]);
        }
    }
    return options;
}

int runBenchmark(int argc, char** argv, const std::function<void(int goods, Report& report)>& run)
{
    const Options options = parseOptions(argc, argv);
    try {
        Report report(options.csvPath);
        run(options.goods, report);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    // The scripted person and the strict error log report through the test framework: an
    // unexpected question or error there is a failed run, not a figure.
    if (::testing::UnitTest::GetInstance()->Failed()) {
        std::fprintf(stderr, "benchmark failed: the run reported a failure (see above)\n");
        return 1;
    }
    return 0;
}

Report::Report(std::string csvPath)
{
    if (csvPath.empty())
        return;
    csv_ = std::fopen(csvPath.c_str(), "a");
    if (!csv_)
        throw std::runtime_error("cannot write " + csvPath + ": " + std::strerror(errno));
    if (std::ftell(csv_) == 0)
        std::fprintf(csv_, "mode,operation,goods,runs,median_ms,p95_ms,p99_ms,floor_median_ms,ratio\n");
}

Report::~Report()
{
    if (csv_)
        std::fclose(csv_);
}

void Report::add(const Measure& m)
{
    if (m.ms.empty())
        throw std::logic_error(m.operation + ": nothing was measured");
    if (!headerPrinted_) {
        std::printf("%-8s %-40s %8s %5s %9s %9s %9s %9s %6s\n", "mode", "operation", "goods", "runs", "median ms",
                    "p95 ms", "p99 ms", "floor ms", "ratio");
        headerPrinted_ = true;
    }
    const Figures f = figures(m.ms);
    const bool hasFloor = !m.floorMs.empty();
    const double floor = hasFloor ? figures(m.floorMs).median : 0;
    const double ratio = hasFloor && floor > 0 ? f.median / floor : 0;
    char floorText[32] = "-", ratioText[32] = "-";
    if (hasFloor) {
        std::snprintf(floorText, sizeof floorText, "%.3f", floor);
        std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
    }
    std::printf("%-8s %-40s %8d %5zu %9.3f %9.3f %9.3f %9s %6s\n", m.mode.c_str(), m.operation.c_str(), m.goods,
                m.ms.size(), f.median, f.p95, f.p99, floorText, ratioText);
    std::fflush(stdout);
    if (csv_) {
        std::fprintf(csv_, "%s,%s,%d,%zu,%.3f,%.3f,%.3f,%s,%s\n", csvField(m.mode).c_str(),
                     csvField(m.operation).c_str(), m.goods,
                     m.ms.size(), f.median, f.p95, f.p99, hasFloor ? floorText : "", hasFloor ? ratioText : "");
        std::fflush(csv_);
    }
}

}  // namespace pos::bench
