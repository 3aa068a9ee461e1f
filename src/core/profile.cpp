#include "profile.h"

#include <cstddef>

namespace velo::core {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A file saved by an editor that marks UTF-8 starts with the mark; it belongs to no line.
std::string_view withoutMark(std::string_view text) {
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        text.remove_prefix(kUtf8Mark.size());
    }
    return text;
}

// The mark stays in front of whatever a change makes of the text after it.
template <typename Change> std::string keepingMark(std::string_view text, Change change) {
    const std::string_view body = withoutMark(text);
    return std::string(text.substr(0, text.size() - body.size())) + change(body);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char foldedAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compare by ASCII case only: the file's bytes are in a local code page.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldedAscii(a[i]) != foldedAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// One physical line: [begin, contentEnd) is the text, [contentEnd, end) its line end.
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    // CR LF, a lone LF and a lone CR each end a line.
    bool next(Line& line) {
        if (pos_ >= text_.size()) {
            return false;
        }
        line.begin = pos_;
        const std::size_t stop = text_.find_first_of("\r\n", pos_);
        if (stop == std::string_view::npos) {
            line.contentEnd = line.end = text_.size();
        } else {
            line.contentEnd = stop;
            line.end = text_.compare(stop, 2, kLineEnd) == 0 ? stop + 2 : stop + 1;
        }
        pos_ = line.end;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

enum class Kind { Other, Section, Entry };

struct Parsed {
    Kind kind = Kind::Other;
    std::string_view name;  // section or key, blanks trimmed
    std::string_view value; // entries only: everything after the first '='
};

Parsed parse(std::string_view content) {
    const std::string_view body = trimmed(content);
    if (body.empty() || body.front() == ';') {
        return {};
    }
    if (body.front() == '[') {
        const std::size_t close = body.find(']');
        const std::size_t length =
            close == std::string_view::npos ? std::string_view::npos : close - 1;
        return {Kind::Section, trimmed(body.substr(1, length)), {}};
    }
    const std::size_t equals = body.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {Kind::Entry, trimmed(body.substr(0, equals)), body.substr(equals + 1)};
}

std::string_view unquoted(std::string_view value) {
    value = trimmed(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// CR or LF written into the file would end the entry and start a line of the caller's choosing.
void appendSingleLine(std::string& out, std::string_view s) {
    for (const char c : s) {
        out += c == '\r' || c == '\n' ? ' ' : c;
    }
}

void appendEntry(std::string& out, std::string_view key, std::string_view value) {
    appendSingleLine(out, key);
    out += '=';
    appendSingleLine(out, value);
}

} // namespace

// Only a section's first copy counts; later copies of it are kept but never read or written.
std::optional<std::string> profileGet(std::string_view text, std::string_view section,
                                      std::string_view key) {
    text = withoutMark(text);
    section = trimmed(section);
    key = trimmed(key);
    Lines lines(text);
    Line line;
    bool inSection = false;
    while (lines.next(line)) {
        const Parsed parsed = parse(text.substr(line.begin, line.contentEnd - line.begin));
        if (parsed.kind == Kind::Section) {
            if (inSection) {
                return std::nullopt;
            }
            inSection = sameName(parsed.name, section);
        } else if (inSection && parsed.kind == Kind::Entry && sameName(parsed.name, key)) {
            return std::string(unquoted(parsed.value));
        }
    }
    return std::nullopt;
}

namespace {
std::string setEntry(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value) {
    const std::string_view sectionName = trimmed(section);
    const std::string_view keyName = trimmed(key);

    // A new entry goes after the section's last line that is not blank, comments included,
    // so blank lines that part it from the next section stay below.
    bool found = false;
    Line insertAfter;
    Lines lines(text);
    Line line;
    while (lines.next(line)) {
        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        const Parsed parsed = parse(content);
        if (parsed.kind == Kind::Section) {
            if (found) {
                break;
            }
            found = sameName(parsed.name, sectionName);
            insertAfter = line;
        } else if (found && parsed.kind == Kind::Entry && sameName(parsed.name, keyName)) {
            std::string out;
            out.reserve(text.size() + key.size() + value.size() + 1);
            out.append(text.substr(0, line.begin));
            // The name keeps its spelling in the file, as the system's writer keeps it.
            appendEntry(out, parsed.name, value);
            out.append(text.substr(line.contentEnd));
            return out;
        } else if (found && !trimmed(content).empty()) {
            insertAfter = line;
        }
    }

    std::string out;
    out.reserve(text.size() + section.size() + key.size() + value.size() + 10);
    if (found) {
        out.append(text.substr(0, insertAfter.end));
        if (insertAfter.contentEnd == insertAfter.end) {
            out += kLineEnd;
        }
        appendEntry(out, key, value);
        out += kLineEnd;
        out.append(text.substr(insertAfter.end));
        return out;
    }
    out.append(text);
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') {
        out += kLineEnd;
    }
    out += '[';
    appendSingleLine(out, section);
    out += ']';
    out += kLineEnd;
    appendEntry(out, key, value);
    out += kLineEnd;
    return out;
}

// Where one copy of a section lies: its header line up to the next header, and the end of
// its last line that is not blank, so blank lines that part it from the next stay put.
struct SectionSpan {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

std::vector<SectionSpan> spansOf(std::string_view text, std::string_view section) {
    section = trimmed(section);
    std::vector<SectionSpan> spans;
    bool inSection = false;
    Lines lines(text);
    Line line;
    while (lines.next(line)) {
        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        const Parsed parsed = parse(content);
        if (parsed.kind == Kind::Section) {
            inSection = sameName(parsed.name, section);
            if (inSection) {
                spans.push_back({line.begin, line.end, line.end});
            }
        } else if (inSection) {
            spans.back().end = line.end;
            if (!trimmed(content).empty()) {
                spans.back().contentEnd = line.end;
            }
        }
    }
    return spans;
}

std::string setSection(std::string_view text, std::string_view section,
                       const ProfileEntries& entries);
std::string removeSection(std::string_view text, std::string_view section);
} // namespace

std::string profileSet(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value) {
    return keepingMark(text,
                       [&](std::string_view body) { return setEntry(body, section, key, value); });
}

std::string profileSetSection(std::string_view text, std::string_view section,
                              const ProfileEntries& entries) {
    return keepingMark(text,
                       [&](std::string_view body) { return setSection(body, section, entries); });
}

std::string profileRemoveSection(std::string_view text, std::string_view section) {
    return keepingMark(text, [&](std::string_view body) { return removeSection(body, section); });
}

std::vector<ProfileSection> profileSections(std::string_view text) {
    text = withoutMark(text);
    std::vector<ProfileSection> sections;
    Lines lines(text);
    Line line;
    while (lines.next(line)) {
        const Parsed parsed = parse(text.substr(line.begin, line.contentEnd - line.begin));
        if (parsed.kind == Kind::Section) {
            sections.push_back({std::string(parsed.name), {}});
        } else if (parsed.kind == Kind::Entry && !sections.empty()) {
            sections.back().entries.emplace_back(std::string(parsed.name),
                                                 std::string(unquoted(parsed.value)));
        }
    }
    return sections;
}

std::string profileQuoted(std::string_view value) {
    if (!value.empty() && (isBlank(value.front()) || isBlank(value.back()) ||
                           value.front() == '"' || value.front() == '\'')) {
        return '"' + std::string(value) + '"';
    }
    return std::string(value);
}

namespace {
std::string setSection(std::string_view text, std::string_view section,
                       const ProfileEntries& entries) {
    std::string body = "[";
    appendSingleLine(body, trimmed(section));
    body += ']';
    body += kLineEnd;
    for (const auto& [key, value] : entries) {
        appendEntry(body, key, profileQuoted(value));
        body += kLineEnd;
    }
    const std::vector<SectionSpan> spans = spansOf(text, section);
    std::string out;
    out.reserve(text.size() + body.size());
    if (spans.empty()) {
        out.append(text);
        if (!text.empty() && text.back() != '\n' && text.back() != '\r') {
            out += kLineEnd;
        }
        out += body;
        return out;
    }
    std::size_t from = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        out.append(text.substr(from, spans[i].begin - from));
        if (i == 0) {
            out += body;
            // Its blank lines stay; a last line without its end gets none added twice.
            out.append(text.substr(spans[i].contentEnd, spans[i].end - spans[i].contentEnd));
        }
        from = spans[i].end;
    }
    out.append(text.substr(from));
    return out;
}

std::string removeSection(std::string_view text, std::string_view section) {
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (const SectionSpan& span : spansOf(text, section)) {
        out.append(text.substr(from, span.begin - from));
        from = span.end;
    }
    out.append(text.substr(from));
    return out;
}
} // namespace

} // namespace velo::core
