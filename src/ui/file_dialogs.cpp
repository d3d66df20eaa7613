#include "ui/file_dialogs.h"

#include "ui/qt_conversions.h"
#include "workspace/buffer_list_dialog.h"
#include "workspace/file_information.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvid {

namespace {

QListWidget* FixedPitchList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return list;
}

} // namespace

std::optional<std::string> RunPasswordDialog(QWidget* parent, const QString& caption) {
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QLineEdit(&dialog);
    edit->setEchoMode(QLineEdit::Password);
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ToBytes(edit->text());
}

std::optional<std::string> RunQuickOpenDialog(QWidget* parent) {
    static QStringList history;
    QDialog dialog(parent);
    dialog.setWindowTitle("Quick Open");
    auto* layout = new QFormLayout(&dialog);
    auto* name = new QComboBox(&dialog);
    name->setEditable(true);
    name->addItems(history);
    name->setCurrentText(QString());
    auto* label = new QLabel("&File", &dialog);
    label->setBuddy(name);
    layout->addRow(label, name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    dialog.resize(420, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString entered = name->currentText();
    if (!entered.isEmpty() && !history.contains(entered))
        history.prepend(entered);
    return ToFileName(entered);
}

void RunBufferListDialog(QWidget* parent, TBufferListDialog& model) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Buffer List");
    auto* layout = new QHBoxLayout(&dialog);
    QListWidget* list = FixedPitchList(&dialog);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(list, 1);
    auto* buttons = new QVBoxLayout;
    layout->addLayout(buttons);
    const auto refill = [&] {
        list->clear();
        for (const std::string& line : model.Lines())
            list->addItem(FromBytes(line));
    };
    const auto selectedLines = [&] {
        std::vector<int> lines;
        for (const QModelIndex& index : list->selectionModel()->selectedRows())
            lines.push_back(index.row());
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    const auto addButton = [&](const char* caption, const std::function<void()>& action) {
        auto* button = new QPushButton(caption, &dialog);
        QObject::connect(button, &QPushButton::clicked, &dialog, action);
        buttons->addWidget(button);
    };
    const auto view = [&] {
        if (list->currentRow() >= 0) {
            model.View(list->currentRow());
            dialog.accept();
        }
    };
    addButton("&View", view);
    addButton("&Save", [&] {
        model.Save(selectedLines());
        refill();
    });
    addButton("&Close", [&] {
        model.Close(selectedLines());
        refill();
    });
    addButton("&Done", [&] { dialog.accept(); });
    buttons->addStretch();
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, view);
    refill();
    if (model.CurrentLine() >= 0 && model.CurrentLine() < list->count())
        list->setCurrentRow(model.CurrentLine());
    dialog.resize(460, 320);
    dialog.exec();
}

void RunFileInformationDialog(QWidget* parent, TFileInformation& model) {
    QDialog dialog(parent);
    dialog.setWindowTitle("File Information");
    auto* layout = new QVBoxLayout(&dialog);
    QListWidget* list = FixedPitchList(&dialog);
    for (const std::string& line : model.Lines)
        list->addItem(FromBytes(line));
    layout->addWidget(list);

    auto* attributes = new QGroupBox("Attributes", &dialog);
    auto* attributeRow = new QHBoxLayout(attributes);
    const auto addBox = [&](const char* caption, const TAttributeBox& box) {
        auto* check = new QCheckBox(caption, attributes);
        check->setChecked(box.Checked);
        check->setEnabled(box.Enabled);
        attributeRow->addWidget(check);
        return check;
    };
    QCheckBox* readOnly = addBox("Read Only", model.ReadOnly);
    addBox("Hidden", model.Hidden);
    addBox("System", model.System);
    addBox("Archive", model.Archive);
    layout->addWidget(attributes);

    auto* type = new QGroupBox("File Type", &dialog);
    auto* typeRow = new QHBoxLayout(type);
    auto* dos = new QRadioButton("Dos", type);
    auto* unix = new QRadioButton("Unix", type);
    (model.FileType == TFileType::Dos ? dos : unix)->setChecked(true);
    typeRow->addWidget(dos);
    typeRow->addWidget(unix);
    layout->addWidget(type);

    auto* compression = new QGroupBox("Compression", &dialog);
    auto* compressionRow = new QHBoxLayout(compression);
    for (const char* caption : {"None", "Huffman", "Arithmetic"}) {
        auto* choice = new QRadioButton(caption, compression);
        choice->setChecked(QString(caption) == "None");
        compressionRow->addWidget(choice);
    }
    layout->addWidget(compression);

    auto* form = new QFormLayout;
    auto* password = new QLineEdit(FromBytes(model.Password), &dialog);
    auto* confirmation = new QLineEdit(FromBytes(model.Password), &dialog);
    for (QLineEdit* edit : {password, confirmation})
        edit->setEchoMode(QLineEdit::Password);
    form->addRow("&Password", password);
    form->addRow("Confir&m", confirmation);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        model.ReadOnly.Checked = readOnly->isChecked();
        model.FileType = dos->isChecked() ? TFileType::Dos : TFileType::Unix;
        model.Password = ToBytes(password->text());
        model.Confirmation = ToBytes(confirmation->text());
        try {
            if (model.Accept()) {
                dialog.accept();
                return;
            }
        } catch (const std::exception& error) {
            QMessageBox::critical(&dialog, "Error", QString::fromLocal8Bit(error.what()));
            return;
        }
        password->setText(FromBytes(model.Password));
        confirmation->setText(FromBytes(model.Confirmation));
    });
    layout->addWidget(buttons);
    dialog.resize(520, 420);
    dialog.exec();
}

} // namespace corvid
