#include "workspace/file_information.h"

#include "editor/text_editor_file.h"
#include "foundation/file_names.h"
#include "workspace/buffer_list.h"
#include "workspace/disk_file.h"

namespace corvid {

namespace {

constexpr size_t NameWidth = 32;
constexpr size_t SizeWidth = 8;

std::string PaddedRight(std::string text, size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string PaddedLeft(const std::string& text, size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string InformationLine(const TTextEditorFile& buffer,
                            const std::function<std::string(int64_t)>& formatTime) {
    const std::string name = TBufferList::DisplayName(buffer);
    std::string line = PaddedRight(name, NameWidth);
    // Full paths are often longer than the column: keep them apart from what follows.
    if (name.size() >= NameWidth)
        line += ' ';
    const auto onDisk = StatDiskFile(buffer.FileName);
    if (!onDisk)
        return line + "not on disk";
    return line + PaddedLeft(std::to_string(onDisk->Size), SizeWidth) + " " +
           formatTime(onDisk->Time);
}

} // namespace

TFileInformation::TFileInformation(std::vector<TTextEditorFile*> targets,
                                   const TTextEditorFile& current,
                                   const std::function<std::string(int64_t)>& formatTime)
    : Password(current.Password), Confirmation(current.Password), Targets(std::move(targets)) {
    const TTextEditorFile* shown = &current;
    bool foundOnDisk = false;
    for (const TTextEditorFile* buffer : Targets) {
        Lines.push_back(InformationLine(*buffer, formatTime));
        const auto onDisk = StatDiskFile(buffer->FileName);
        if (!onDisk || foundOnDisk)
            continue;
        foundOnDisk = true;
        shown = buffer;
        ReadOnly = {!onDisk->OwnerWritable, true};
        Hidden = {FileNameOnly(buffer->FileName).starts_with('.'), false};
    }
    FileType = shown->UnixLineEnds ? TFileType::Unix : TFileType::Dos;
}

bool TFileInformation::Accept() {
    // A confirmation that differs only in letter case is a typing slip, and a file
    // enciphered under it could not be opened again.
    if (Password != Confirmation) {
        Password.clear();
        Confirmation.clear();
        return false;
    }
    for (TTextEditorFile* buffer : Targets)
        ApplyToBuffer(*buffer);
    if (!ReadOnly.Enabled)
        return true;
    for (const TTextEditorFile* buffer : Targets) {
        const auto onDisk = StatDiskFile(buffer->FileName);
        if (onDisk && onDisk->OwnerWritable == ReadOnly.Checked)
            SetOwnerWritable(buffer->FileName, !ReadOnly.Checked);
    }
    return true;
}

void TFileInformation::ApplyToBuffer(TTextEditorFile& buffer) const {
    const bool unixLineEnds = FileType == TFileType::Unix;
    if (buffer.Password == Password && buffer.UnixLineEnds == unixLineEnds)
        return;
    buffer.Password = Password;
    buffer.UnixLineEnds = unixLineEnds;
    buffer.Modified = true;
}

} // namespace corvid
