// Proves that a failure recorded during a benchmark's run fails the program: a run whose
// scripted person meets a question nobody scripted must end non-zero, as an exception
// does, while a clean run ends zero. Exits 0 only when both hold.
#include "report.h"

#include "support/scripted_person.h"

#include <cstdio>

int main(int, char** argv)
{
    using namespace pos;
    char goods[] = "1000";
    char* args[] = {argv[0], goods, nullptr};
    test::ScriptedPerson person;

    // The clean run first: the framework's record of a failure lasts for the process.
    const int clean = bench::runBenchmark(2, args, [&](int, bench::Report&) {
        person.message("正常", "提示", MessageIcon::Information);
    });
    const int failing = bench::runBenchmark(2, args, [&](int, bench::Report&) {
        person.ask("不该出现的问题？", "提示");
    });

    std::printf("clean run exit %d, run with an unscripted question exit %d\n", clean, failing);
    return clean == 0 && failing != 0 ? 0 : 1;
}
