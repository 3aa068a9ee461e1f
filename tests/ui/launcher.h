#pragma once

#include "fake_services.h"
#include "modal.h"
#include "support/temp_dir.h"

#include "core/settings.h"
#include "ui/frmVelo/frmVelo.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace velo::test {

template <class W> W* find(QWidget* root, const char* name) {
    auto* widget = root->findChild<W*>(QLatin1String(name));
    if (widget == nullptr) {
        qFatal("no control %s", name);
    }
    return widget;
}

inline QString qs(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// The process works in folder until this goes out of scope.
class CurrentDir {
public:
    explicit CurrentDir(const std::filesystem::path& folder) { QDir::setCurrent(qs(folder)); }
    ~CurrentDir() { QDir::setCurrent(before_); }
    CurrentDir(const CurrentDir&) = delete;
    CurrentDir& operator=(const CurrentDir&) = delete;

private:
    QString before_ = QDir::currentPath();
};

// A main window over a settings file in a folder of its own.
struct Launcher {
    TempDir home;
    core::SettingsFile settings{home.file("q2velo.ini")};
    FakeServices services;
    std::unique_ptr<ui::frmVelo> window;

    explicit Launcher(const std::string& gameDir = "C:\\Quake2") {
        settings.WriteINI("Quake2", "Path", gameDir);
        settings.WriteINI("Quake2", "RunSetup", "No");
    }
    bool load() {
        window = std::make_unique<ui::frmVelo>(settings, services);
        const bool loaded = window->Form_Load();
        // Every page is made, as the start left it, before a test looks for a control on it.
        window->buildPages();
        return loaded;
    }
    template <class W> W* get(const char* name) { return find<W>(window.get(), name); }
    void click(const char* name) { QTest::mouseClick(get<QWidget>(name), Qt::LeftButton); }
    QStringList modList() {
        auto* mods = window->modList();
        QStringList items;
        for (int i = 0; i < mods->count(); ++i) {
            items << mods->itemText(i);
        }
        return items;
    }
    std::string lastLine() const { return services.starts.back().commandLine; }
    void run() { get<QPushButton>("cmdRunQuake")->click(); }
    void pick(const char* layout) {
        auto* combo = get<QComboBox>("Combo1");
        combo->setCurrentIndex(combo->findText(QLatin1String(layout)));
        emit combo->activated(combo->currentIndex());
    }
};

using Act = std::function<void(QWidget*)>;

// A launcher over a game folder of its own, with or without its baseq2 folder.
struct Game {
    TempDir folder;
    std::unique_ptr<Launcher> launcher;

    explicit Game(bool withBaseq2 = true) {
        if (withBaseq2) {
            std::filesystem::create_directory(folder.path() / "baseq2");
        }
        launcher = std::make_unique<Launcher>(folder.path().string());
        launcher->load();
    }
    // Opens a modal window by a main window button; act works on it, then the closer
    // button closes it unless act did.
    void open(const char* button, const char* closer, const Act& act) {
        whenModal([act, closer](QWidget* window) {
            if (act) {
                act(window);
            }
            if (window->isVisible()) {
                find<QPushButton>(window, closer)->click();
            }
        });
        launcher->click(button);
    }
    // What is wrong with how a failed script write showed; empty when it warned once,
    // naming the file, closed every window, kept the launcher and left nothing behind.
    QString failedWriteProblem(const char* file) const {
        if (!launcher->services.warnedOnce({file})) {
            return QLatin1String("no single warning naming the file");
        }
        if (QApplication::activeModalWidget() != nullptr || !launcher->services.quits.empty()) {
            return QLatin1String("a window stayed open or the launcher ended");
        }
        if (!std::filesystem::is_empty(folder.path())) {
            return QLatin1String("something was left in the game folder");
        }
        return QString();
    }
};

} // namespace velo::test
