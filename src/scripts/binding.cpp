#include "binding.h"

namespace velo::scripts {

std::string bindingLine(std::string_view key, std::string_view command) {
    std::string line;
    line.reserve(key.size() + command.size() + 10);
    line.append("bind ").append(key).append(" \"").append(command).append("\"").append(kLineEnd);
    return line;
}

std::optional<char> keyBreaker(std::string_view key) {
    const std::size_t at = key.find_first_of(" ;\"\r\n");
    return at == std::string_view::npos ? std::nullopt : std::optional<char>(key[at]);
}

std::optional<char> commandBreaker(std::string_view command) {
    const std::size_t at = command.find_first_of("\"\r\n");
    return at == std::string_view::npos ? std::nullopt : std::optional<char>(command[at]);
}

void addBinding(std::string& script, std::string_view box, std::string_view key,
                std::string_view command, std::vector<Refusal>* refused) {
    std::optional<char> breaker = keyBreaker(key);
    if (!breaker) {
        breaker = commandBreaker(command);
    }
    if (!breaker) {
        script += bindingLine(key, command);
    } else if (refused != nullptr) {
        refused->push_back({std::string(box), *breaker});
    }
}

} // namespace velo::scripts
