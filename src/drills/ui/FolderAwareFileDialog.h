#pragma once

#include <QFileDialog>

// Qt's own file dialog, with two corrections:
// - a folder name typed into the name box (with or without a trailing slash) opens that folder
//   instead of being taken for a file name that the default extension is then added to
//   ("Courses/" would become "Courses/.txt", not found);
// - the default extension is added to a typed name without extension only while the chosen
//   filter is one for that extension, so that "All" opens a file named without one.
class FolderAwareFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    // The extension (without its dot) that the filters for it add to a typed name.
    void setFilterSuffix(const QString& suffix);

    void accept() override;

private:
    // The folder that the typed name stands for, or an empty string when it names none.
    QString typedFolder() const;
    // Sets the default suffix for the filter chosen now.
    void followFilter(const QString& nameFilter);

    QString m_filterSuffix;
    bool m_following = false;
};
