#pragma once

#include <QFileDialog>

// Qt's own file dialog, with one correction: a folder name typed into the name box (with or
// without a trailing slash) opens that folder instead of being taken for a file name that the
// default extension is then added to ("Courses/" would become "Courses/.txt", not found).
class FolderAwareFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override;

private:
    // The folder that the typed name stands for, or an empty string when it names none.
    QString typedFolder() const;
};
