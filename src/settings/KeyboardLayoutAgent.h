#pragma once

#include "platform/KeyboardLayoutList.h"

#include <QObject>
#include <QStringList>
#include <memory>

// The program's one access point to the keyboard layouts: lists the installed layouts for the
// profile editor, describes the loaded and the active one, remembers the layout in force at
// start and activates a layout by its eight-hex-digit identifier.
class TKeyboardLayoutAgent : public QObject {
    Q_OBJECT
public:
    // On the system's own layouts.
    explicit TKeyboardLayoutAgent(QObject* owner = nullptr);
    TKeyboardLayoutAgent(std::unique_ptr<KeyboardLayoutProvider> provider, QObject* owner = nullptr);
    ~TKeyboardLayoutAgent() override;

    void Refresh();
    void BuildLayoutNames();
    void BuildInfo();

    // The identifier is handed on as given; on success it becomes the current one exactly so.
    bool ActivateLayout(const QString& identifier);
    // Raises an error for an index outside the installed list, activating nothing.
    bool ActivateLayoutByIndex(int index);
    // Compared byte for byte with the upper-case identifier texts.
    int IndexOfLayout(const QString& identifier) const;
    QString GetCurrentLayoutId() const { return CurrentLayoutId; }
    QString GetStartLayoutName() const { return StartLayoutName; }
    // Written once, by the constructor.
    void SetStartLayoutName(const QString& name) { StartLayoutName = name; }

    // Read by the profile editor; both describe the state of the last Refresh.
    QStringList InfoLines;
    QStringList LayoutNames;

private:
    QString StartLayoutName;
    std::unique_ptr<KeyboardLayoutList> Layouts;
    QString CurrentLayoutId; // empty until the first successful activation
};
