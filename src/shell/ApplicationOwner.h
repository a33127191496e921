#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
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

    // A global that names the object is cleared when the object is freed here.
    template <typename T> T* adopt(T* object, T** global = nullptr) {
        std::function<void()> forget;
        if (global)
            forget = [global, object] {
                if (*global == object) *global = nullptr;
            };
        m_owned.push_back({object, std::move(forget)});
        return object;
    }
    void freeAll();

private:
    struct Owned {
        QPointer<QObject> object;
        std::function<void()> forget;
    };
    std::vector<Owned> m_owned;
};

// The one owner of the run.
ApplicationOwner& applicationOwner();
