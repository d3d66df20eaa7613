#pragma once

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace corvid {

class TBufferListDialog;
class TFileInformation;

// The small modal dialogs of the file commands, each over a model from the workspace.

// "Password for "name"": one masked edit; none when cancelled.
std::optional<std::string> RunPasswordDialog(QWidget* parent, const QString& caption);

// "Quick Open": a "&File" combo box that remembers the names entered before.
std::optional<std::string> RunQuickOpenDialog(QWidget* parent);

// "Buffer List": the buffers with "&View", "&Save", "&Close" and "&Done".
void RunBufferListDialog(QWidget* parent, TBufferListDialog& model);

// "File Information": the targets' list, attributes, line-end type and password.
void RunFileInformationDialog(QWidget* parent, TFileInformation& model);

} // namespace corvid
