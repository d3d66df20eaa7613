#include "workspace/buffer_list_dialog.h"

#include "editor/text_editor_file.h"
#include "workspace/buffer_list.h"

namespace corvid {

std::vector<std::string> TBufferListDialog::Lines() const {
    std::vector<std::string> lines;
    for (int index = 0; index < Buffers.Count(); ++index) {
        const TTextEditorFile& buffer = Buffers.Buffer(index);
        lines.push_back((buffer.Modified ? "*" : " ") + TBufferList::ShortName(buffer));
    }
    return lines;
}

int TBufferListDialog::CurrentLine() const {
    return Buffers.CurrentIndex();
}

void TBufferListDialog::View(int line) {
    Buffers.Select(line);
}

std::vector<TTextEditorFile*> TBufferListDialog::BuffersAt(const std::vector<int>& lines) const {
    std::vector<TTextEditorFile*> buffers;
    for (const int line : lines)
        if (line >= 0 && line < Buffers.Count())
            buffers.push_back(&Buffers.Buffer(line));
    return buffers;
}

void TBufferListDialog::Save(const std::vector<int>& lines) {
    Buffers.SaveBuffers(BuffersAt(lines));
}

void TBufferListDialog::Close(const std::vector<int>& lines) {
    Buffers.CloseBuffers(BuffersAt(lines));
}

} // namespace corvid
