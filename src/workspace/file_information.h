#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace corvid {

class TTextEditorFile;

struct TAttributeBox {
    bool Checked = false;
    bool Enabled = false;
};

enum class TFileType { Dos, Unix };

// What the "File Information" dialog shows and applies for the target buffers. The dialog
// fills its controls from the fields, writes the user's choices back, and on OK calls Accept.
class TFileInformation {
public:
    // current is the buffer whose password the edits start with.
    TFileInformation(std::vector<TTextEditorFile*> targets, const TTextEditorFile& current,
                     const std::function<std::string(int64_t nanoseconds)>& formatTime);

    // Per target: the name padded to 32 characters, then "not on disk", or the size padded
    // to 8 characters followed by the date and time of the file.
    std::vector<std::string> Lines;
    // Those of the first target on disk; all disabled when none is. Read Only is the owner's
    // missing write permission and the one box that can change; Hidden is a name starting
    // with '.'.
    TAttributeBox ReadOnly;
    TAttributeBox Hidden;
    TAttributeBox System;
    TAttributeBox Archive;
    TFileType FileType = TFileType::Dos;
    std::string Password;
    std::string Confirmation;

    // OK. Two password texts that differ in any character are both cleared and the dialog
    // stays open (false). Otherwise every target takes the password and the line ends (a
    // change marks it modified, so that the next save writes it that way), and every target
    // file on disk the Read Only choice; a file that refuses raises EInOutError.
    bool Accept();

private:
    std::vector<TTextEditorFile*> Targets;

    void ApplyToBuffer(TTextEditorFile& buffer) const;
};

} // namespace corvid
