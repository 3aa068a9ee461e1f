#include "setup.h"

#include "profile.h"

#include <algorithm>
#include <charconv>
#include <functional>

namespace velo::core {

namespace {

constexpr std::string_view kSectionPrefix = "Setup ";
constexpr std::string_view kLauncherSection = "Quake2";
constexpr std::string_view kPickedKey = "Setup";

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool blank(char c) {
    return c == ' ' || c == '\t';
}

// The setup's name when section is a setup's section.
std::optional<std::string> setupOf(std::string_view section) {
    if (section.size() <= kSectionPrefix.size() ||
        !sameSetupName(section.substr(0, kSectionPrefix.size()), kSectionPrefix)) {
        return std::nullopt;
    }
    // One blank after the word, as the launcher writes it; any other section is not ours.
    const std::string_view name = section.substr(kSectionPrefix.size());
    if (blank(name.front())) {
        return std::nullopt;
    }
    return std::string(name);
}

std::string sectionOf(std::string_view name) {
    return std::string(kSectionPrefix) + std::string(name);
}

std::string yesNo(bool on) {
    return on ? "Yes" : "No";
}

bool readYesNo(std::string_view text, bool& out) {
    if (sameSetupName(text, "Yes")) {
        out = true;
    } else if (sameSetupName(text, "No")) {
        out = false;
    } else {
        return false;
    }
    return true;
}

// Plain decimal digits only: no sign, no blanks.
bool readNumber(std::string_view text, int& out) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    std::from_chars(text.data(), text.data() + text.size(), out);
    return true;
}

struct HandName {
    Hand hand;
    const char* name;
};
constexpr std::array<HandName, 3> kHands{{
    {Hand::Left, "Left"},
    {Hand::Right, "Right"},
    {Hand::Centered, "Centered"},
}};

// One key of a setup's section: how its field is written, and read back (the reason it
// cannot be, or nullopt).
struct Field {
    std::string key;
    std::function<std::string(const Setup&)> write;
    std::function<std::optional<std::string>(Setup&, std::string_view)> read;
};

Field yesNoField(const char* key, bool Setup::*member) {
    return {key, [member](const Setup& s) { return yesNo(s.*member); },
            [member](Setup& s, std::string_view text) -> std::optional<std::string> {
                if (!readYesNo(text, s.*member)) {
                    return "\"" + std::string(text) + "\" is neither Yes nor No";
                }
                return std::nullopt;
            }};
}

Field textField(const char* key, std::string Setup::*member, std::size_t limit = 0) {
    return {key, [member](const Setup& s) { return s.*member; },
            [member, limit](Setup& s, std::string_view text) -> std::optional<std::string> {
                if (limit != 0 && text.size() > limit) {
                    return "\"" + std::string(text) + "\" is longer than " + std::to_string(limit) +
                           " characters";
                }
                s.*member = std::string(text);
                return std::nullopt;
            }};
}

// "Teams by Model" is the key TeamsByModel.
std::string flagKey(std::string_view caption) {
    std::string key;
    bool upper = true;
    for (const char c : caption) {
        if (c == ' ') {
            upper = true;
            continue;
        }
        key += upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        upper = false;
    }
    return key;
}

// Every key of a setup's section, in the order they are written.
const std::vector<Field>& fields() {
    static const std::vector<Field> all = [] {
        std::vector<Field> f;
        f.push_back(textField("Mod", &Setup::Mod));
        f.push_back(yesNoField("AlwaysRun", &Setup::AlwaysRun));
        f.push_back(yesNoField("Freelook", &Setup::Freelook));
        f.push_back({"Sensitivity", [](const Setup& s) { return std::to_string(s.Sensitivity); },
                     [](Setup& s, std::string_view text) -> std::optional<std::string> {
                         int value = 0;
                         if (!readNumber(text, value) || value < kMinSensitivity ||
                             value > kMaxSensitivity) {
                             return "\"" + std::string(text) +
                                    "\" is not a whole number from 1 to 13";
                         }
                         s.Sensitivity = value;
                         return std::nullopt;
                     }});
        f.push_back(yesNoField("Crosshair", &Setup::Crosshair));
        f.push_back({"Handedness",
                     [](const Setup& s) {
                         for (const HandName& h : kHands) {
                             if (h.hand == s.Handedness) {
                                 return std::string(h.name);
                             }
                         }
                         return std::string();
                     },
                     [](Setup& s, std::string_view text) -> std::optional<std::string> {
                         for (const HandName& h : kHands) {
                             if (sameSetupName(text, h.name)) {
                                 s.Handedness = h.hand;
                                 return std::nullopt;
                             }
                         }
                         return "\"" + std::string(text) + "\" is not Left, Right or Centered";
                     }});
        f.push_back(yesNoField("Dedicated", &Setup::Dedicated));
        f.push_back(textField("Map", &Setup::Map));
        f.push_back(textField("HostName", &Setup::HostName));
        f.push_back(textField("FragLimit", &Setup::FragLimit, kLimitLength));
        f.push_back(textField("TimeLimit", &Setup::TimeLimit, kLimitLength));
        f.push_back(textField("MaxPlayers", &Setup::MaxPlayers));
        for (std::size_t i = 0; i < flagBoxes().size(); ++i) {
            f.push_back({flagKey(flagBoxes()[i].caption),
                         [i](const Setup& s) { return yesNo(s.FlagBoxes[i]); },
                         [i](Setup& s, std::string_view text) -> std::optional<std::string> {
                             bool on = false;
                             if (!readYesNo(text, on)) {
                                 return "\"" + std::string(text) + "\" is neither Yes nor No";
                             }
                             s.FlagBoxes[i] = on;
                             return std::nullopt;
                         }});
        }
        f.push_back(textField("Engine", &Setup::Engine));
        return f;
    }();
    return all;
}

// Written for whoever reads the file; read only to check it against the boxes.
constexpr std::string_view kTotalKey = "DMFlags";

} // namespace

std::array<bool, 16> Setup::startFlagBoxes() {
    std::array<bool, 16> boxes{};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = flagBoxes()[i].checkedAtStart;
    }
    return boxes;
}

std::int32_t Setup::DMFlags() const {
    std::int32_t total = 0;
    for (std::size_t i = 0; i < FlagBoxes.size(); ++i) {
        if (FlagBoxes[i] == flagBoxes()[i].onWhileChecked) {
            total += flagBoxes()[i].bit;
        }
    }
    return total;
}

bool Setup::operator==(const Setup& o) const {
    return Mod == o.Mod && AlwaysRun == o.AlwaysRun && Freelook == o.Freelook &&
           Sensitivity == o.Sensitivity && Crosshair == o.Crosshair && Handedness == o.Handedness &&
           Dedicated == o.Dedicated && Map == o.Map && HostName == o.HostName &&
           FragLimit == o.FragLimit && TimeLimit == o.TimeLimit && MaxPlayers == o.MaxPlayers &&
           FlagBoxes == o.FlagBoxes && Engine == o.Engine;
}

std::optional<std::string> setupNameFault(std::string_view name) {
    if (name.empty()) {
        return "A setup needs a name.";
    }
    if (name.find(']') != std::string_view::npos) {
        return "A setup's name cannot hold \"]\".";
    }
    if (name.find_first_of("\r\n") != std::string_view::npos) {
        return "A setup's name cannot hold a line break.";
    }
    if (blank(name.front()) || blank(name.back())) {
        return "A setup's name cannot begin or end with a blank.";
    }
    return std::nullopt;
}

bool sameSetupName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return folded(x) == folded(y);
           });
}

std::optional<std::string> SetupIndex::find(std::string_view name) const {
    for (const std::string& saved : names) {
        if (sameSetupName(saved, name)) {
            return saved;
        }
    }
    return std::nullopt;
}

SetupIndex indexSetups(std::string_view text) {
    SetupIndex index;
    for (const ProfileSection& section : profileSections(text)) {
        if (const auto name = setupOf(section.name); name && !index.find(*name)) {
            index.names.push_back(*name);
        }
    }
    std::sort(index.names.begin(), index.names.end(),
              [](const std::string& a, const std::string& b) {
                  return std::lexicographical_compare(
                      a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return folded(x) < folded(y); });
              });
    index.picked = profileGet(text, kLauncherSection, kPickedKey).value_or(std::string());
    return index;
}

std::optional<std::string> missingSetup(const SettingsFile& settings, std::string_view name) {
    const SettingsRead file = settings.ReadAll();
    if (file.error || indexSetups(file.value).find(name)) {
        return std::nullopt;
    }
    return "no setup named \"" + std::string(name) + "\" in " + settings.path();
}

SetupLoad loadSetup(std::string_view text, std::string_view name) {
    SetupLoad load;
    const std::vector<ProfileSection> sections = profileSections(text);
    const ProfileSection* first = nullptr;
    for (const ProfileSection& section : sections) {
        const auto setup = setupOf(section.name);
        if (!setup || !sameSetupName(*setup, name)) {
            continue;
        }
        if (first == nullptr) {
            first = &section;
        } else {
            load.faults.push_back({"[" + section.name + "]",
                                   "the section is there twice: only its first copy is used"});
        }
    }
    if (first == nullptr) {
        return load;
    }
    load.found = true;
    const std::vector<Field>& all = fields();
    std::vector<bool> seen(all.size(), false);
    std::optional<std::string> total;
    bool totalSeen = false;
    for (const auto& [key, value] : first->entries) {
        if (sameSetupName(key, kTotalKey)) {
            if (totalSeen) {
                load.faults.push_back({key, "the key is there twice: only its first value counts"});
            } else {
                total = value;
            }
            totalSeen = true;
            continue;
        }
        const auto field = std::find_if(all.begin(), all.end(), [&key = key](const Field& f) {
            return sameSetupName(f.key, key);
        });
        if (field == all.end()) {
            load.faults.push_back({key, "no setup has this key"});
            continue;
        }
        const std::size_t at = static_cast<std::size_t>(field - all.begin());
        if (seen[at]) {
            load.faults.push_back({key, "the key is there twice: only its first value counts"});
            continue;
        }
        seen[at] = true;
        if (auto fault = field->read(load.setup, value)) {
            load.faults.push_back({field->key, *fault});
        }
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!seen[i]) {
            load.faults.push_back({all[i].key, "missing"});
        }
    }
    // The boxes are what the player sees and clicks; a total that disagrees is left out.
    const std::string boxes = std::to_string(load.setup.DMFlags());
    if (!total) {
        load.faults.push_back({std::string(kTotalKey), "missing"});
    } else if (*total != boxes) {
        load.faults.push_back({std::string(kTotalKey), "\"" + *total +
                                                           "\" disagrees with the flag boxes, "
                                                           "which give " +
                                                           boxes + "; the boxes are used"});
    }
    return load;
}

std::string withSetup(std::string_view text, std::string_view name, const Setup& setup) {
    ProfileEntries entries;
    for (const Field& field : fields()) {
        entries.emplace_back(field.key, field.write(setup));
        if (field.key == "MaxPlayers") {
            entries.emplace_back(std::string(kTotalKey), std::to_string(setup.DMFlags()));
        }
    }
    return withPicked(profileSetSection(text, sectionOf(name), entries), name);
}

std::string withoutSetup(std::string_view text, std::string_view name) {
    std::string out = profileRemoveSection(text, sectionOf(name));
    const auto picked = profileGet(out, kLauncherSection, kPickedKey);
    if (picked && sameSetupName(*picked, name)) {
        out = withPicked(out, "");
    }
    return out;
}

std::string withPicked(std::string_view text, std::string_view name) {
    return profileSet(text, kLauncherSection, kPickedKey, profileQuoted(name));
}

} // namespace velo::core
