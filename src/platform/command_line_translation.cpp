#include "platform/command_line_translation.h"

#include <vector>

namespace {

std::vector<std::string> SplitAtBlanks(const std::string& line)
{
    std::vector<std::string> words;
    std::string::size_type begin = line.find_first_not_of(' ');
    while (begin != std::string::npos) {
        const std::string::size_type end = line.find(' ', begin);
        words.push_back(line.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        begin = line.find_first_not_of(' ', end);
    }
    return words;
}

} // namespace

std::optional<HostCommand> TranslateCommandLine(const std::string& commandLine)
{
    const std::vector<std::string> words = SplitAtBlanks(commandLine);
    if (words.size() < 3 || words[0] != "cmd" || words[1] != "/c") {
        return std::nullopt;
    }
    if (words[2] == "ddns.exe") {
        return HostCommand{"ddns.exe", true, {words.begin() + 3, words.end()}};
    }
    if (words.size() == 5 && words[2] == "net" && (words[3] == "start" || words[3] == "stop")) {
        return HostCommand{"systemctl", false, {words[3], words[4]}};
    }
    return std::nullopt;
}
