#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

// What the application object owns besides its main window: the settings, the main window,
// the data module, the keyboard and hand windows, the game window. They are handed over when
// created and freed together, newest first, when the run ends; one freed earlier is skipped.
class ApplicationOwner {
public:
    ApplicationOwner() = default;
    ~ApplicationOwner() { freeAll(); }
    ApplicationOwner(const ApplicationOwner&) = delete;
    ApplicationOwner& operator=(const ApplicationOwner&) = delete;

    template <typename T> T* adopt(T* object) {
        m_owned.emplace_back(object);
        return object;
    }
    void freeAll();

private:
    std::vector<QPointer<QObject>> m_owned;
};

// The one owner of the run.
ApplicationOwner& applicationOwner();
