// F7 in the IDE on the generated 20,000-line program: the whole command as the user triggers
// it, from Save All through both passes and the S19 file to the message list, the code marks
// and the merged listing shown in the Listing pane.

#include "isa_table.h"
#include "program_generator.h"
#include "ui/main_window.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr int ProgramLines = 20000;

class TAssembleInTheIde {
public:
    TAssembleInTheIde() {
        char name[] = "/tmp/corvid-ide-bench-XXXXXX";
        if (!mkdtemp(name))
            throw std::runtime_error("no scratch directory");
        Directory = name;
        const auto isa = corvid::testing::ReadIsaTable(CORVID_ISA_TABLE);
        const std::string source = (Directory / "program.asm").string();
        std::ofstream(source, std::ios::binary)
            << corvid::testing::GenerateRealisticProgram(isa, ProgramLines, 7).Corvid;
        Window.OpenCommandLine({QString::fromStdString(source)});
        for (QAction* action : Window.findChildren<QAction*>())
            if (action->text() == "&Assemble" && !action->shortcut().isEmpty())
                Assemble = action;
        Listing = Window.findChild<QPlainTextEdit*>("MakeOutputListBox");
        if (!Assemble || !Listing)
            throw std::runtime_error("the main window has no Assemble command or Listing pane");
    }
    ~TAssembleInTheIde() { std::filesystem::remove_all(Directory); }

    // Returns the number of listing lines shown.
    int Run() {
        Assemble->trigger();
        QApplication::processEvents();
        return Listing->blockCount();
    }

private:
    std::filesystem::path Directory;
    corvid::TMainWindow Window;
    QAction* Assemble = nullptr;
    QPlainTextEdit* Listing = nullptr;
};

void BM_AssembleWithListingFromTheIde(benchmark::State& state) {
    TAssembleInTheIde ide;
    int listingLines = 0;
    for (auto _ : state)
        listingLines = ide.Run();
    state.counters["listing_lines"] = listingLines;
    state.counters["lines_per_s"] =
        benchmark::Counter(static_cast<double>(ProgramLines) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AssembleWithListingFromTheIde)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
