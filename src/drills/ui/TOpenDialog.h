#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// The open-file dialog of a window: a filter in the "Name|patterns|Name|patterns" form, the
// default extension and the folder it starts in. Execute() asks the user through the chooser in
// use, which tests replace to answer it.
class TOpenDialog {
public:
    QString Filter;
    QString DefaultExt;
    QString InitialDir;
    QString FileName;

    // True with FileName set when the user picked a file.
    bool Execute(QWidget* parent = nullptr);

    // "Text|*.Txt|All|*.*" as Qt writes it: "Text (*.Txt);;All (*)". A "*.*" pattern stands
    // for every file, with or without an extension, as it does on the system the filters come from.
    static QString qtFilter(const QString& filter);

    using Chooser = std::function<std::optional<QString>(QWidget* parent, const TOpenDialog& dialog)>;
    // Installs a chooser (an empty one restores the file dialog) and returns the previous one.
    static Chooser setChooser(Chooser chooser);
};
