#include "editor/text_editor_line.h"

namespace corvid {

TTextEditorLine::TTextEditorLine(TTextEditorLine&& other) noexcept
    : Text(std::move(other.Text)), Flags(other.Flags), OwnsData(other.OwnsData), Data(other.Data) {
    other.OwnsData = false;
    other.Data = nullptr;
}

TTextEditorLine& TTextEditorLine::operator=(TTextEditorLine&& other) noexcept {
    if (this != &other) {
        ReleaseData();
        Text = std::move(other.Text);
        Flags = other.Flags;
        OwnsData = other.OwnsData;
        Data = other.Data;
        other.OwnsData = false;
        other.Data = nullptr;
    }
    return *this;
}

void TTextEditorLine::AttachData(TTextEditorLineData* data, bool ownsData) {
    ReleaseData();
    Data = data;
    OwnsData = ownsData;
}

void TTextEditorLine::ReleaseData() noexcept {
    if (OwnsData)
        delete Data;
    Data = nullptr;
    OwnsData = false;
}

} // namespace corvid
