#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

// One start of a fake program as it saw it: "LABEL [arg] [arg]..." and the
// circumstances "in=..|out=..|err=..|own-session=yes/no|leaks=N".
struct FakeProgramRecord {
    std::string invocation;
    std::string circumstances;
};

// The circumstances of a program started hidden and detached by the client.
inline const std::string kHiddenCircumstances =
    "in=/dev/null|out=/dev/null|err=/dev/null|own-session=yes|leaks=0";

// A scratch tree under the test's temporary directory: a current directory for
// the client (work/), a directory to put on PATH (bin/), an empty one (empty/),
// and fake programs that append one record line each to records.txt. A program
// counts as leaked-into when it holds a descriptor of the file "leak-marker".
class FakeProgramTree {
public:
    FakeProgramTree()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-service-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        root = pattern;
        workDir = root / "work";
        binDir = root / "bin";
        emptyDir = root / "empty";
        recordFile = root / "records.txt";
        leakMarker = root / "leak-marker";
        std::filesystem::create_directory(workDir);
        std::filesystem::create_directory(binDir);
        std::filesystem::create_directory(emptyDir);
        std::ofstream(leakMarker).put('x');
    }

    ~FakeProgramTree()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    FakeProgramTree(const FakeProgramTree&) = delete;
    FakeProgramTree& operator=(const FakeProgramTree&) = delete;

    // Writes a shell script `dir/name` that records itself under `label`.
    void AddProgram(const std::filesystem::path& dir, const std::string& name, const std::string& label,
                    mode_t mode = 0755) const
    {
        const std::filesystem::path path = dir / name;
        std::ofstream script(path);
        script << "#!/bin/sh\n"
                  "PATH=/usr/bin:/bin\n"
                  "read -r pid comm state ppid pgrp sid rest < /proc/$$/stat\n"
                  "leaks=0\n"
                  "for fd in /proc/$$/fd/*; do\n"
                  "  case \"$(readlink \"$fd\")\" in *leak-marker) leaks=$((leaks + 1)) ;; esac\n"
                  "done\n"
                  "if [ \"$sid\" = \"$$\" ]; then own=yes; else own=no; fi\n"
                  "line='"
               << label
               << "'\n"
                  "for a in \"$@\"; do line=\"$line [$a]\"; done\n"
                  "line=\"$line|in=$(readlink /proc/$$/fd/0)|out=$(readlink /proc/$$/fd/1)"
                  "|err=$(readlink /proc/$$/fd/2)|own-session=$own|leaks=$leaks\"\n"
                  "printf '%s\\n' \"$line\" >> '"
               << recordFile.string() << "'\n";
        script.close();
        chmod(path.c_str(), mode);
    }

    // Polls until at least `count` whole record lines are there or the
    // deadline passes; returns the whole lines seen.
    std::vector<FakeProgramRecord> WaitForRecords(std::size_t count,
                                                  std::chrono::milliseconds deadline = std::chrono::seconds(20)) const
    {
        const auto end = std::chrono::steady_clock::now() + deadline;
        std::vector<FakeProgramRecord> records = ReadRecords();
        while (records.size() < count && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            records = ReadRecords();
        }
        return records;
    }

    std::vector<FakeProgramRecord> ReadRecords() const
    {
        std::ifstream in(recordFile, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<FakeProgramRecord> records;
        std::string::size_type begin = 0;
        for (auto end = text.find('\n'); end != std::string::npos; end = text.find('\n', begin)) {
            const std::string line = text.substr(begin, end - begin);
            const auto bar = line.find('|');
            records.push_back({line.substr(0, bar), bar == std::string::npos ? "" : line.substr(bar + 1)});
            begin = end + 1;
        }
        return records;
    }

    std::filesystem::path root;
    std::filesystem::path workDir;
    std::filesystem::path binDir;
    std::filesystem::path emptyDir;
    std::filesystem::path recordFile;
    std::filesystem::path leakMarker;
};
