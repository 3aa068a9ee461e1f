#pragma once

#include "platform/path.h"
#include "ui/toolkit/services.h"

#include <QString>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velo::test {

// Answers dialogs from prepared answers and records everything the windows ask for.
class FakeServices : public ui::Services {
public:
    struct Message {
        ui::MessageKind kind;
        QString text;
    };

    std::deque<QString> fileAnswers; // the next dialogs' answers; an empty one cancels
    std::deque<int> filterAnswers;   // the file types the next save dialogs choose; else the first
    std::vector<ui::FileDialogRequest> fileRequests;
    std::vector<Message> messages;
    std::vector<platform::LaunchPlan> starts;
    std::vector<QString> addresses;
    bool addressesOpen = true; // false: no program takes an address
    std::vector<int> quits;
    platform::MaybeError startResult;
    // The next questions' answers (none left: "Cancel"), and each question asked.
    std::deque<bool> confirmAnswers;
    std::vector<QString> questions;
    // The next setup name questions' answers (none left: cancel), and what each offered.
    std::deque<ui::SetupNameAnswer> nameAnswers;
    struct NameQuestion {
        QString suggested;
        bool offerMenu;
        bool menuTicked;
    };
    std::vector<NameQuestion> nameQuestions;
    std::string menu; // the desktop menu's folder; empty: no menu
    // When set, engines are found, started and watched for real.
    std::unique_ptr<ui::DesktopServices> real;
    std::vector<std::string> games; // what the search for the game finds
    // When set, the search for the game runs this (off the UI thread) instead.
    std::function<std::vector<std::string>()> search;
    // What findEngines answers; unset: the original program in the game folder.
    std::optional<std::vector<platform::Engine>> engines;
    std::vector<std::string> programs; // what engineAt knows, as native engines, real or not
    std::deque<QString> passwords;     // the next password dialogs' answers; empty cancels
    std::vector<QString> passwordAsks; // the servers a password was asked for
    // Where a LAN search goes: loopback's broadcast, so no test reaches a real network.
    std::vector<std::uint32_t> broadcasts{0x7fffffff};

    std::optional<QString> openFile(QWidget*, const ui::FileDialogRequest& request) override {
        return answer(request);
    }
    std::optional<ui::SavedFile> saveFile(QWidget*, const ui::FileDialogRequest& request) override {
        const std::optional<QString> path = answer(request);
        const int filter = filterAnswers.empty() ? 0 : filterAnswers.front();
        if (!filterAnswers.empty()) {
            filterAnswers.pop_front();
        }
        return path ? std::optional<ui::SavedFile>(ui::SavedFile{*path, filter}) : std::nullopt;
    }
    void message(QWidget*, ui::MessageKind kind, const QString& text) override {
        messages.push_back({kind, text});
    }
    bool confirm(QWidget*, const QString& question, const QString&) override {
        questions.push_back(question);
        const bool yes = !confirmAnswers.empty() && confirmAnswers.front();
        if (!confirmAnswers.empty()) {
            confirmAnswers.pop_front();
        }
        return yes;
    }
    std::optional<ui::SetupNameAnswer> askSetupName(QWidget*, const QString& suggested,
                                                    bool offerMenu, bool menuTicked) override {
        nameQuestions.push_back({suggested, offerMenu, menuTicked});
        if (nameAnswers.empty()) {
            return std::nullopt;
        }
        ui::SetupNameAnswer next = nameAnswers.front();
        nameAnswers.pop_front();
        return next;
    }
    std::string menuFolder() override { return menu; }
    std::vector<platform::Engine> findEngines(const std::string& gameDir) override {
        if (real) {
            return real->findEngines(gameDir);
        }
        const std::string game = platform::nativePath(gameDir + "\\Quake2.exe");
        return engines.value_or(
            std::vector<platform::Engine>{{game, platform::Family::Original, {}}});
    }
    platform::EngineLookup engineAt(const std::string& program) override {
        if (std::find(programs.begin(), programs.end(), program) == programs.end()) {
            return {std::nullopt, platform::Error{program, "not found"}};
        }
        return {platform::Engine{program, platform::familyOf(program), {}}, std::nullopt};
    }
    platform::MaybeError startGame(const platform::LaunchPlan& plan) override {
        starts.push_back(plan);
        return real ? real->startGame(plan) : startResult;
    }
    std::optional<platform::GameEnd> watchGame() override {
        return real ? real->watchGame() : std::nullopt;
    }
    bool openAddress(QWidget*, const QString& address) override {
        addresses.push_back(address);
        return addressesOpen;
    }
    std::function<std::vector<std::string>()> gameSearch() override {
        return search ? search : [found = games] { return found; };
    }
    void quit(int exitCode) override { quits.push_back(exitCode); }
    std::optional<QString> askPassword(QWidget*, const QString& server) override {
        passwordAsks.push_back(server);
        const QString next = passwords.empty() ? QString() : passwords.front();
        if (!passwords.empty()) {
            passwords.pop_front();
        }
        return next.isEmpty() ? std::nullopt : std::optional<QString>(next);
    }
    std::vector<std::uint32_t> broadcastAddresses() override { return broadcasts; }

    // Exactly one message so far, a warning naming every part.
    bool warnedOnce(const std::vector<std::string>& parts) const {
        if (messages.size() != 1 || messages[0].kind != ui::MessageKind::Warning) {
            return false;
        }
        for (const std::string& part : parts) {
            if (!messages[0].text.contains(QString::fromStdString(part))) {
                return false;
            }
        }
        return true;
    }

private:
    std::optional<QString> answer(const ui::FileDialogRequest& request) {
        fileRequests.push_back(request);
        const QString next = fileAnswers.empty() ? QString() : fileAnswers.front();
        if (!fileAnswers.empty()) {
            fileAnswers.pop_front();
        }
        return next.isEmpty() ? std::nullopt : std::optional<QString>(next);
    }
};

} // namespace velo::test
