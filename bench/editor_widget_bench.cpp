// The painted editor on a large file: opening it and scrolling a page at a time, each step
// painted in full as the screen would show it.

#include "editor/text_editor.h"
#include "editor/text_editor_file.h"
#include "ui/editor_widget.h"
#include "workspace/languages.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int LineCount = 1000000;

const std::string& LargeFile() {
    static const std::string path = [] {
        const std::string name = "/tmp/corvid-editor-widget-bench.asm";
        std::ofstream out(name, std::ios::binary);
        for (int line = 0; line < LineCount; ++line)
            out << "LOOP" << line << "  LDAA  #$" << (line % 256) << "   ; count " << line << '\n';
        return name;
    }();
    return path;
}

// The widget showing the file as an assembly buffer, coloured as the IDE colours it.
struct TShownFile {
    corvid::TLanguageTable Languages{nullptr};
    corvid::TTextEditorFile File{corvid::TUndoMode::WithUndo};
    corvid::TEditorWidget Widget;
    QImage Image;

    TShownFile() : Image(1200, 800, QImage::Format_RGB32) {
        File.FileName = LargeFile();
        Languages.Attach(File);
        Widget.resize(Image.size());
        Widget.Engine().SetFile(&File);
    }
    void Load() { File.LoadFromFile(LargeFile()); }
    void Paint() {
        QPainter painter(&Image);
        Widget.render(&painter);
    }
};

void BM_OpenAndPaintMillionLines(benchmark::State& state) {
    TShownFile shown;
    for (auto _ : state) {
        shown.Load();
        shown.Paint();
    }
}
BENCHMARK(BM_OpenAndPaintMillionLines)->Unit(benchmark::kMillisecond);

void BM_PageDownAndPaint(benchmark::State& state) {
    TShownFile shown;
    shown.Load();
    corvid::TTextEditor& engine = shown.Widget.Engine();
    for (auto _ : state) {
        engine.KeyDown(corvid::TEditorKey::PageDown);
        if (engine.CaretLine() >= LineCount - 100)
            engine.MoveCaret(0, 0);
        shown.Paint();
    }
}
BENCHMARK(BM_PageDownAndPaint)->Unit(benchmark::kMicrosecond);

void BM_JumpBetweenEndsAndPaint(benchmark::State& state) {
    TShownFile shown;
    shown.Load();
    bool atEnd = false;
    for (auto _ : state) {
        shown.Widget.Engine().MoveCaret(atEnd ? 0 : LineCount - 1, 0);
        atEnd = !atEnd;
        shown.Paint();
    }
}
BENCHMARK(BM_JumpBetweenEndsAndPaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(LargeFile().c_str());
    return 0;
}
